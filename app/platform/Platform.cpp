#include "app/platform/Platform.h"

#include <QGuiApplication>

#include <xcb/xcb.h>

namespace lumivex::Platform {

PlatformKind kindFor(const QString& qtPlatformName, bool waylandSession, const QString& override)
{
    const QString chosen = override.trimmed().toLower();
    if (chosen == QLatin1String("null"))
        return PlatformKind::null;
    if (chosen == QLatin1String("x11"))
        return PlatformKind::x11;
    if (chosen == QLatin1String("wayland"))
        return PlatformKind::wayland;
    if (qtPlatformName.startsWith(QLatin1String("wayland")))
        return PlatformKind::wayland;
    if (qtPlatformName == QLatin1String("xcb"))
        return waylandSession ? PlatformKind::wayland : PlatformKind::x11;
    return PlatformKind::null;
}

bool isWaylandSession()
{
    return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        || qEnvironmentVariable("XDG_SESSION_TYPE").compare(QLatin1String("wayland"), Qt::CaseInsensitive) == 0;
}

PlatformKind kind()
{
    return kindFor(QGuiApplication::platformName(), isWaylandSession(), qEnvironmentVariable("LUMIVEX_PLATFORM"));
}

PlatformKind kindBeforeStart()
{
    // The plugin Qt will load: the first one QT_QPA_PLATFORM names ("xcb:arguments;wayland"), else Wayland in a
    // Wayland session and xcb where there is an X display.
    // A Wayland session takes the portal whichever plugin Qt loads (kindFor).
    QString plugin = qEnvironmentVariable("QT_QPA_PLATFORM").section(QLatin1Char(';'), 0, 0).section(QLatin1Char(':'), 0, 0);
    if (plugin.isEmpty()) {
        if (isWaylandSession())
            plugin = QStringLiteral("wayland");
        else if (!qEnvironmentVariableIsEmpty("DISPLAY"))
            plugin = QStringLiteral("xcb");
    }
    return kindFor(plugin, isWaylandSession(), qEnvironmentVariable("LUMIVEX_PLATFORM"));
}

} // namespace lumivex::Platform

namespace lumivex::Platform {

QString unreachableDisplayMessage()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    const QByteArray display = qgetenv("DISPLAY");
    const bool usesX = platform.startsWith("xcb") || (platform.isEmpty() && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"));
    if (!usesX || display.isEmpty())
        return {};
    xcb_connection_t* connection = xcb_connect(display.constData(), nullptr);
    const bool reachable = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    if (reachable)
        return {};
    return QStringLiteral("lumivex: cannot connect to the X display \"%1\" (is the X server running, and may this "
                          "user connect to it?).").arg(QString::fromLocal8Bit(display));
}

} // namespace lumivex::Platform
