#include "app/shell/Launch.h"

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

void installTranslations()
{
    // Korean is the development language: its texts are the source texts themselves.
    const QLocale locale;
    if (locale.language() == QLocale::Korean)
        return;
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(locale, QStringLiteral("lumivex"), QStringLiteral("_"), QStringLiteral(":/i18n")))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace Launch

} // namespace lumivex
