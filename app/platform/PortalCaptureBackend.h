#pragma once

#include "app/platform/CaptureBackend.h"

namespace lumivex {

// Capture on Wayland goes through the desktop portal's Screenshot interface. Not built yet: every capture
// fails with a message that says so, and there is no window list (Wayland does not give one out).
class PortalCaptureBackend : public CaptureBackend {
public:
    bool accessGranted() const override { return true; }
    QFuture<DisplayCapture> captureDisplays() override;
    QList<WindowInfo> windowsFrontToBack() override { return {}; }
    std::optional<Point> pointerLocation() override { return std::nullopt; }
};

} // namespace lumivex
