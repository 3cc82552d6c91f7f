#pragma once

#include "app/platform/CaptureBackend.h"

namespace lumivex {

// The backend where no display server can be reached (LUMIVEX_PLATFORM=null, or an unknown Qt platform): access
// is granted, but there is no display, so every capture fails with `noDisplay`.
class NullCaptureBackend : public CaptureBackend {
public:
    bool accessGranted() const override { return true; }
    QFuture<DisplayCapture> captureDisplays() override;
    QList<WindowInfo> windowsFrontToBack() override { return {}; }
    std::optional<Point> pointerLocation() override { return std::nullopt; }
};

} // namespace lumivex
