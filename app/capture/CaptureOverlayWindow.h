#pragma once

#include "app/platform/DisplayShot.h"

#include <QWidget>

namespace lumivex {

class CaptureOverlayView;
class CaptureSession;

// A borderless window over one whole display, above everything else, showing that display's frozen image
// through its view. On X11 it bypasses the window manager (override-redirect), so no panel, dock or
// stacking rule of the window manager can put anything above it, and it takes the keyboard with a grab. On
// Wayland it is a full-screen window on its display's output, and the keyboard follows the activation.
class CaptureOverlayWindow : public QWidget {
    Q_OBJECT

public:
    CaptureOverlayWindow(const DisplayShot& shot, CaptureSession* session);
    ~CaptureOverlayWindow() override;

    const DisplayShot& shot() const { return m_shot; }
    CaptureOverlayView* overlayView() const { return m_view; }

    // Makes this overlay the one that receives the keys: activated, focused and holding the keyboard grab.
    void takeKeyboard();
    void dropKeyboard();
    bool hasKeyboard() const { return m_wantsKeyboard; }

    // Puts a window over the whole of the shot's display: by position on X11; on Wayland, where a client cannot
    // choose its position, full screen on that display's output.
    static void placeOver(QWidget& window, const DisplayShot& shot);

private:
    void grabKeyboardWhenMapped(int attemptsLeft);

    DisplayShot m_shot;
    CaptureOverlayView* m_view;
    bool m_wantsKeyboard = false;
};

} // namespace lumivex
