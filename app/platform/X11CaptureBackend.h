#pragma once

#include "app/platform/CaptureBackend.h"
#include "app/platform/X11ScreenGrabber.h"

#include <QPointer>
#include <QScreen>

#include <functional>
#include <memory>

namespace lumivex {

class X11Connection;
class X11WindowList;

// Capture on X11. Top-left global space is the root window's space divided by each monitor's device pixel
// ratio, so that a point in an overlay plus its display's origin is a point in the same space as the window
// frames; with the one ratio X11 desktops use for every monitor this is exact.
class X11CaptureBackend : public CaptureBackend {
public:
    // The Qt screen that shows a monitor and its device pixel ratio.
    struct ScreenMatch {
        QPointer<QScreen> screen;
        double scale = 1;
    };
    using ScreenLookup = std::function<ScreenMatch(const X11ScreenGrabber::Monitor&)>;

    struct Options {
        QByteArray displayName; // empty: $DISPLAY
        // Empty: Qt's screens (qtScreenFor) when a QGuiApplication runs, otherwise the ratio Qt would give each
        // monitor (X11PixelScale).
        ScreenLookup screens;
        bool allowSharedMemory = true;
        qint64 ownProcessId = -1; // -1: this process
    };

    explicit X11CaptureBackend(Options options);
    ~X11CaptureBackend() override;

    bool accessGranted() const override { return true; }
    QFuture<DisplayCapture> captureDisplays() override;
    QList<WindowInfo> windowsFrontToBack() override;
    std::optional<Point> pointerLocation() override;

    // The display under the pointer (the first one when the pointer is on none), frozen at once on the calling
    // thread: all that a full-screen capture needs, and only that display's pixels are fetched. A single shot,
    // or why it failed.
    DisplayCapture captureDisplayUnderPointer();

    bool isConnected() const { return m_connection != nullptr; }
    // Whether the last freeze went through shared memory.
    bool usedSharedMemory() const;
    // The Qt screen of a monitor: by name (Qt names its xcb screens after the RandR monitors), else by position.
    static ScreenMatch qtScreenFor(const X11ScreenGrabber::Monitor& monitor);

private:
    struct Layout {
        QList<X11ScreenGrabber::Monitor> monitors;
        QList<ScreenMatch> screens;
    };
    Layout currentLayout() const;
    static Rect toPoints(const Layout& layout, const QRect& rootPixels);
    static DisplayCapture shotsFrom(X11ScreenGrabber::Grab grab, const Layout& layout);
    std::optional<QPoint> pointerInRootPixels();

    Options m_options;
    QString m_connectionError;
    std::shared_ptr<X11Connection> m_connection;
    std::shared_ptr<X11ScreenGrabber> m_grabber;
    std::unique_ptr<X11WindowList> m_windows;
};

} // namespace lumivex
