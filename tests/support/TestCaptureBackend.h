#pragma once

#include "app/platform/CaptureBackend.h"

#include <QPromise>

#include <memory>

namespace lumivex::test {

// A capture backend the tests fill in: it hands out whatever shots, error, windows and pointer it was given, can
// hold captures back to observe what happens while one is under way, and counts what was asked of it.
class TestCaptureBackend : public CaptureBackend {
public:
    bool accessGranted() const override { return m_accessGranted; }
    void requestAccess() override { ++m_accessRequests; }
    QUrl settingsUrl() const override { return {}; }
    QFuture<DisplayCapture> captureDisplays() override;
    QList<WindowInfo> windowsFrontToBack() override { return m_windows; }
    std::optional<Point> pointerLocation() override { return m_pointer; }
    WindowPicking windowPicking() const override { return m_windowPicking; }
    QFuture<DisplayCapture> pickWithDesktop() override { return QtFuture::makeReadyFuture(m_picked); }

    void setShots(QList<DisplayShot> shots) { m_result = std::move(shots); }
    void setError(CaptureError error) { m_result = std::move(error); }
    void setWindows(QList<WindowInfo> windows) { m_windows = std::move(windows); }
    void setPointer(std::optional<Point> pointer) { m_pointer = pointer; }
    void setAccessGranted(bool granted) { m_accessGranted = granted; }
    void setWindowPicking(WindowPicking picking) { m_windowPicking = picking; }
    // What the desktop's picker hands back (no shot: the user left it).
    void setPicked(DisplayCapture picked) { m_picked = std::move(picked); }
    // When held, captures stay pending until release().
    void setHeld(bool held) { m_held = held; }
    void release();

    int captureCount() const { return m_captureCount; }
    int accessRequests() const { return m_accessRequests; }

private:
    DisplayCapture m_result = CaptureError::noDisplay();
    QList<WindowInfo> m_windows;
    std::optional<Point> m_pointer;
    bool m_accessGranted = true;
    WindowPicking m_windowPicking = WindowPicking::fromList;
    DisplayCapture m_picked = QList<DisplayShot>();
    bool m_held = false;
    QList<std::shared_ptr<QPromise<DisplayCapture>>> m_pending;
    int m_captureCount = 0;
    int m_accessRequests = 0;
};

} // namespace lumivex::test
