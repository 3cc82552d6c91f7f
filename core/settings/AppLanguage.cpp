#include "core/settings/AppLanguage.h"

#include "core/settings/KeyValueStore.h"

#include <QLocale>

namespace lumivex::AppLanguages {

namespace {

struct LanguageInfo {
    AppLanguage language;
    const char* raw;
    const char* nativeName;
    const char* flag;
};

constexpr std::array kLanguages = {
    LanguageInfo{AppLanguage::system, "system", nullptr, "🌐"},
    LanguageInfo{AppLanguage::en, "en", "English", "🇺🇸"},
    LanguageInfo{AppLanguage::ko, "ko", "한국어", "🇰🇷"},
    LanguageInfo{AppLanguage::zhHans, "zh-Hans", "简体中文", "🇨🇳"},
    LanguageInfo{AppLanguage::ja, "ja", "日本語", "🇯🇵"},
    LanguageInfo{AppLanguage::vi, "vi", "Tiếng Việt", "🇻🇳"},
    LanguageInfo{AppLanguage::th, "th", "ไทย", "🇹🇭"},
    LanguageInfo{AppLanguage::es, "es", "Español", "🇪🇸"},
    LanguageInfo{AppLanguage::fr, "fr", "Français", "🇫🇷"},
    LanguageInfo{AppLanguage::it, "it", "Italiano", "🇮🇹"},
};

const LanguageInfo& infoOf(AppLanguage language)
{
    for (const LanguageInfo& info : kLanguages) {
        if (info.language == language)
            return info;
    }
    return kLanguages.front();
}

bool serves(const QLocale& candidate, const QLocale& preference)
{
    if (candidate.language() != preference.language())
        return false;
    // Simplified and traditional Chinese are different translations; QLocale fills in the script a region
    // implies (zh-CN is Hans, zh-TW Hant).
    return candidate.language() != QLocale::Chinese || candidate.script() == preference.script();
}

} // namespace

QString rawValue(AppLanguage language)
{
    return QString::fromLatin1(infoOf(language).raw);
}

std::optional<AppLanguage> fromRawValue(const QString& raw)
{
    for (const LanguageInfo& info : kLanguages) {
        if (raw == QLatin1String(info.raw))
            return info.language;
    }
    return std::nullopt;
}

std::optional<QString> nativeName(AppLanguage language)
{
    const char* name = infoOf(language).nativeName;
    if (!name)
        return std::nullopt;
    return QString::fromUtf8(name);
}

QString flag(AppLanguage language)
{
    return QString::fromUtf8(infoOf(language).flag);
}

void apply(AppLanguage language, KeyValueStore& to)
{
    const QString key = QString::fromLatin1(overrideKey);
    if (language == AppLanguage::system)
        to.remove(key);
    else
        to.setStringList(key, {rawValue(language)});
}

AppLanguage resolvedSystem(const std::optional<QStringList>& preferences)
{
    const QStringList wanted = preferences.value_or(QLocale::system().uiLanguages());
    for (const QString& tag : wanted) {
        const QLocale preference(tag);
        if (preference.language() == QLocale::C || preference.language() == QLocale::AnyLanguage)
            continue;
        for (const LanguageInfo& info : kLanguages) {
            if (info.language != AppLanguage::system && serves(QLocale(QString::fromLatin1(info.raw)), preference))
                return info.language;
        }
    }
    return AppLanguage::en;
}

} // namespace lumivex::AppLanguages
