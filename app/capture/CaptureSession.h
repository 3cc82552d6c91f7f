#pragma once

#include "app/capture/CaptureResult.h"
#include "app/platform/DisplayShot.h"
#include "app/platform/WindowPicking.h"
#include "core/capture/WindowInfo.h"
#include "core/geometry/Point.h"

#include <QList>
#include <QObject>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace lumivex {

class CaptureOverlayWindow;

// One overlay capture: the frozen displays, the window list, one overlay window per display, and the picking
// mode. It ends exactly once, with a result or with nothing (cancelled).
class CaptureSession : public QObject {
    Q_OBJECT

public:
    enum class Mode { area, window };
    using Completion = std::function<void(std::optional<CaptureResult>)>;
    // The pointer in top-left global space, points (nothing when unknown).
    using PointerLocation = std::function<std::optional<Point>()>;

    CaptureSession(Mode mode, QList<DisplayShot> shots, QList<WindowInfo> windows, Completion completion,
                   PointerLocation pointer, QObject* parent = nullptr);
    ~CaptureSession() override;

    Mode mode() const { return m_mode; }
    void setMode(Mode mode) { m_mode = mode; }
    const QList<DisplayShot>& shots() const { return m_shots; }
    const QList<WindowInfo>& windows() const { return m_windows; }
    QList<CaptureOverlayWindow*> overlays() const;
    bool isFinished() const { return m_finished; }
    // The platform's answer, or else where an overlay last saw the pointer (Wayland tells the pointer only to
    // the window under it).
    std::optional<Point> pointerLocation() const;
    void notePointer(std::optional<Point> global) { m_seenPointer = global; }

    WindowPicking windowPicking() const { return m_windowPicking; }
    // Where the desktop picks windows itself, window mode closes the overlays and runs this instead of the
    // completion.
    void setDesktopPicker(WindowPicking picking, std::function<void()> handOver);
    // Ends the session without a result and hands the pick over to the desktop (see setDesktopPicker).
    void handOverToDesktop();

    // Shows one overlay per display; the one under the pointer takes the keyboard.
    void start();
    // Gives the keyboard to this overlay (the one under the pointer) and takes it from the others.
    void makeKey(CaptureOverlayWindow* overlay);
    // Clears every overlay's selection and drag, and follows the mode (hovered window, cursor).
    void refreshAll();
    // Ends the session: hides the overlays and calls the completion, the first time only.
    void finish(std::optional<CaptureResult> result);

private:
    bool close();

    Mode m_mode;
    QList<DisplayShot> m_shots;
    QList<WindowInfo> m_windows;
    Completion m_completion;
    PointerLocation m_pointer;
    std::optional<Point> m_seenPointer;
    WindowPicking m_windowPicking = WindowPicking::fromList;
    std::function<void()> m_handOver;
    std::vector<std::unique_ptr<CaptureOverlayWindow>> m_overlays;
    bool m_finished = false;
};

} // namespace lumivex
