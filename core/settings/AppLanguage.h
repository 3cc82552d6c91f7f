#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace lumivex {

class KeyValueStore;

// The interface language. The raw value is also the translation's language code.
enum class AppLanguage { system, en, ko, zhHans, ja, vi, th, es, fr, it };

namespace AppLanguages {

constexpr std::array<AppLanguage, 10> allCases = {AppLanguage::system, AppLanguage::en, AppLanguage::ko,
                                                 AppLanguage::zhHans, AppLanguage::ja, AppLanguage::vi,
                                                 AppLanguage::th,     AppLanguage::es, AppLanguage::fr,
                                                 AppLanguage::it};

// The store key of the per-application language list that the launch reads to pick the translation.
inline constexpr char overrideKey[] = "AppleLanguages";

QString rawValue(AppLanguage language); // "system", "en", "ko", "zh-Hans", ...
std::optional<AppLanguage> fromRawValue(const QString& raw);
// The language's own name ("한국어"); nothing for `system`.
std::optional<QString> nativeName(AppLanguage language);
QString flag(AppLanguage language);

// Makes the language the application's override in the store: `system` removes the list, any other language
// sets it to the one raw value (["zh-Hans"]).
void apply(AppLanguage language, KeyValueStore& to);

// The language that `system` stands for: the first preference (BCP 47 tags, most wanted first) that one of the
// languages serves, matched by language and, for Chinese, by script ("ko-KR" is ko, "zh-CN" is zh-Hans,
// "zh-TW" none). Without a list, the desktop's languages (QLocale::uiLanguages()). `en` when nothing matches.
AppLanguage resolvedSystem(const std::optional<QStringList>& preferences = std::nullopt);

} // namespace AppLanguages

} // namespace lumivex
