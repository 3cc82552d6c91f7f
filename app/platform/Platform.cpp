#include "app/platform/Platform.h"

#include <QGuiApplication>

namespace lumivex::Platform {

PlatformKind kindFor(const QString& qtPlatformName, const QString& override)
{
    const QString chosen = override.trimmed().toLower();
    if (chosen == QLatin1String("null"))
        return PlatformKind::null;
    if (chosen == QLatin1String("x11"))
        return PlatformKind::x11;
    if (chosen == QLatin1String("wayland"))
        return PlatformKind::wayland;
    if (qtPlatformName == QLatin1String("xcb"))
        return PlatformKind::x11;
    if (qtPlatformName.startsWith(QLatin1String("wayland")))
        return PlatformKind::wayland;
    return PlatformKind::null;
}

PlatformKind kind()
{
    return kindFor(QGuiApplication::platformName(), qEnvironmentVariable("LUMIVEX_PLATFORM"));
}

} // namespace lumivex::Platform
