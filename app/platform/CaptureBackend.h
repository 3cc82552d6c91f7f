#pragma once

#include "app/platform/CaptureError.h"
#include "app/platform/DisplayShot.h"
#include "app/platform/Platform.h"
#include "app/platform/WindowPicking.h"
#include "core/capture/WindowInfo.h"
#include "core/geometry/Point.h"

#include <QFuture>
#include <QList>
#include <QUrl>

#include <memory>
#include <optional>
#include <variant>

namespace lumivex {

// Either every display frozen (in display order, the primary one first) or why that failed.
using DisplayCapture = std::variant<QList<DisplayShot>, CaptureError>;

// What a capture needs from the display server: freezing the displays, the window list and the pointer.
// One implementation per platform (X11, the Wayland portal, and a Null one that tests fill in).
class CaptureBackend {
public:
    virtual ~CaptureBackend() = default;

    // Whether the platform lets this application read the screen now (X11 always does).
    virtual bool accessGranted() const = 0;
    // Asks the platform for that access; its answer is not awaited.
    virtual void requestAccess() {}
    // Where the user grants the access; empty when the platform has no such place.
    virtual QUrl settingsUrl() const { return {}; }
    // Freezes every display. Called on the main thread; the slow part runs on a worker thread, and the
    // future finishes with the shots or the error.
    virtual QFuture<DisplayCapture> captureDisplays() = 0;
    // The pickable on-screen windows, front-most first, in top-left global space (points).
    virtual QList<WindowInfo> windowsFrontToBack() = 0;
    // The pointer in top-left global space (points), when the platform tells. Wayland does not: there the
    // overlays learn it when the pointer enters them.
    virtual std::optional<Point> pointerLocation() = 0;
    virtual WindowPicking windowPicking() const { return WindowPicking::fromList; }
    // The desktop's own interactive capture (WindowPicking::byDesktop): one shot of what the user picked there,
    // or no shot when the user cancelled.
    virtual QFuture<DisplayCapture> pickWithDesktop()
    {
        return QtFuture::makeReadyFuture<DisplayCapture>(CaptureError::noDisplay());
    }

    static std::unique_ptr<CaptureBackend> create(PlatformKind kind);
};

} // namespace lumivex
