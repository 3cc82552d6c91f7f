#pragma once

#include <QString>

namespace lumivex {

// Which display-server backends the application talks to. Chosen once at run time from the session and Qt's
// platform plugin; LUMIVEX_PLATFORM=null|x11|wayland overrides it (tests use null for a backend without a
// display server).
enum class PlatformKind { null, x11, wayland };

namespace Platform {

PlatformKind kind();
// The choice for a Qt platform plugin name, whether the desktop session is a Wayland one, and an override value
// (empty when not set). In a Wayland session even Qt on XWayland gets the Wayland backends: an X11 grab there
// sees only the XWayland windows.
PlatformKind kindFor(const QString& qtPlatformName, bool waylandSession, const QString& override);
// WAYLAND_DISPLAY is set or XDG_SESSION_TYPE says "wayland".
bool isWaylandSession();
// The same choice before any Qt application object exists, from the environment alone (LUMIVEX_PLATFORM,
// QT_QPA_PLATFORM, WAYLAND_DISPLAY, XDG_SESSION_TYPE, DISPLAY). Where it cannot tell it answers null.
PlatformKind kindBeforeStart();

// When Qt is about to use an X display that does not answer, why (Qt itself would abort with a core dump);
// empty when there is nothing to say. Called before the application object exists.
QString unreachableDisplayMessage();

} // namespace Platform

} // namespace lumivex
