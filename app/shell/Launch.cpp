#include "app/shell/Launch.h"

#include "core/settings/AppLanguage.h"
#include "core/settings/SettingsFileStore.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

#include <cstdlib>

namespace lumivex {

LaunchOptions LaunchOptions::parse(const QStringList& arguments)
{
    LaunchOptions result;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        (argument.startsWith(QLatin1Char('-')) ? result.options : result.files).append(argument);
    }
    return result;
}

namespace Launch {

bool displayAvailable()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.startsWith("offscreen") || platform.startsWith("minimal") || platform.startsWith("vnc"))
        return true;
    if (platform.startsWith("wayland"))
        return !qgetenv("WAYLAND_DISPLAY").isEmpty();
    if (platform.startsWith("xcb"))
        return !qgetenv("DISPLAY").isEmpty();
    return !qgetenv("DISPLAY").isEmpty() || !qgetenv("WAYLAND_DISPLAY").isEmpty();
}

QString noDisplayMessage()
{
    return QStringLiteral("lumivex: no display server found (DISPLAY and WAYLAND_DISPLAY are not set). "
                          "Lumivex is a desktop application: start it inside a graphical session.");
}

AppLanguage chosenLanguage(const KeyValueStore& store)
{
    const QStringList override = store.stringList(QLatin1String(AppLanguages::overrideKey));
    if (!override.isEmpty()) {
        if (const std::optional<AppLanguage> language = AppLanguages::fromRawValue(override.first()))
            return *language;
    }
    return AppLanguages::resolvedSystem();
}

QString translationFile(AppLanguage language)
{
    if (language == AppLanguage::ko || language == AppLanguage::system)
        return {};
    return QStringLiteral("lumivex_") + AppLanguages::rawValue(language).replace(QLatin1Char('-'), QLatin1Char('_'));
}

void installTranslations()
{
    // Korean is the development language: its texts are the source texts themselves. A language without a table
    // of its own reads English rather than Korean, which few of its readers would understand.
    const QString file = translationFile(chosenLanguage(SettingsFileStore::standard()));
    if (file.isEmpty())
        return;
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(file, QStringLiteral(":/i18n")) || translator->load(QStringLiteral("lumivex_en"), QStringLiteral(":/i18n")))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace Launch

} // namespace lumivex
