#pragma once

#include "app/platform/CaptureBackend.h"
#include "app/platform/LayoutImage.h"
#include "app/platform/PortalRequest.h"

#include <QDBusConnection>

#include <chrono>
#include <functional>

namespace lumivex {

// Capture on Wayland, through the desktop portal's Screenshot interface: one picture of the whole layout
// (without asking the user), cut into one shot per output. Wayland gives out no window list and no pointer
// position; a window is picked with the desktop's own interactive capture where the desktop has one.
class PortalCaptureBackend : public CaptureBackend {
public:
    struct Options {
        std::optional<QDBusConnection> bus;                 // empty: the session bus
        std::chrono::milliseconds timeout{10000};           // for the picture taken without asking
        std::chrono::milliseconds pickingTimeout{300000};   // for the desktop's picker, where the user takes time
        std::function<QList<OutputGeometry>()> outputs;     // empty: Qt's screens
        std::optional<QString> desktop;                     // empty: $XDG_CURRENT_DESKTOP
    };

    PortalCaptureBackend();
    explicit PortalCaptureBackend(Options options);

    bool accessGranted() const override { return true; }
    QFuture<DisplayCapture> captureDisplays() override;
    QList<WindowInfo> windowsFrontToBack() override { return {}; }
    std::optional<Point> pointerLocation() override { return std::nullopt; }
    WindowPicking windowPicking() const override;
    QFuture<DisplayCapture> pickWithDesktop() override;

    // The returned file's picture, checked to be ours and fresh; deleted afterwards when it lies in a shared
    // temporary folder (it holds screen contents). Runs on any thread.
    static std::variant<QImage, QString> takeReturnedFile(const QString& path, qint64 requestedAtMs);

private:
    QDBusConnection bus() const;
    QFuture<PortalRequest::Answer> requestScreenshot(bool interactive) const;

    Options m_options;
};

} // namespace lumivex
