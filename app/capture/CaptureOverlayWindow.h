#pragma once

#include "app/platform/DisplayShot.h"

#include <QWidget>

namespace lumivex {

class CaptureOverlayView;
class CaptureSession;

// A borderless window over one whole display, above everything else, showing that display's frozen image
// through its view. On X11 it bypasses the window manager (override-redirect), so no panel, dock or
// stacking rule of the window manager can put anything above it, and it takes the keyboard with a grab.
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

private:
    void grabKeyboardWhenMapped(int attemptsLeft);

    DisplayShot m_shot;
    CaptureOverlayView* m_view;
    bool m_wantsKeyboard = false;
};

} // namespace lumivex
