#include "app/capture/CaptureOverlayWindow.h"

#include "app/capture/CaptureOverlayView.h"
#include "core/geometry/QtAdapters.h"

#include <QGuiApplication>
#include <QTimer>
#include <QWindow>

namespace lumivex {

namespace {

constexpr int keyboardGrabAttempts = 50;
constexpr int keyboardGrabRetryMs = 20;

} // namespace

CaptureOverlayWindow::CaptureOverlayWindow(const DisplayShot& shot, CaptureSession* session)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::X11BypassWindowManagerHint)
    , m_shot(shot)
    , m_view(new CaptureOverlayView(shot, session, this))
{
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setWindowTitle(QStringLiteral("Lumivex"));
    placeOver(*this, m_shot);
}

void CaptureOverlayWindow::placeOver(QWidget& window, const DisplayShot& shot)
{
    const QSize size(qRound(shot.globalFrame.width), qRound(shot.globalFrame.height));
    if (!shot.screen) {
        window.setGeometry(QRect(QPoint(qRound(shot.globalFrame.x), qRound(shot.globalFrame.y)), size));
        return;
    }
    window.setScreen(shot.screen);
    window.setGeometry(QRect(shot.screen->geometry().topLeft(), size));
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        window.setWindowState(Qt::WindowFullScreen);
}

CaptureOverlayWindow::~CaptureOverlayWindow() = default;

void CaptureOverlayWindow::takeKeyboard()
{
    m_wantsKeyboard = true;
    raise();
    activateWindow();
    m_view->setFocus(Qt::OtherFocusReason);
    grabKeyboardWhenMapped(keyboardGrabAttempts);
}

void CaptureOverlayWindow::grabKeyboardWhenMapped(int attemptsLeft)
{
    // X refuses a grab on a window that is not viewable yet, and a freshly shown window is mapped a moment
    // later; keep trying briefly. The grab keeps Escape with us even if another client steals the focus.
    if (!m_wantsKeyboard || !isVisible() || !windowHandle() || QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    if (windowHandle()->setKeyboardGrabEnabled(true) || attemptsLeft <= 0)
        return;
    QTimer::singleShot(keyboardGrabRetryMs, this, [this, attemptsLeft] { grabKeyboardWhenMapped(attemptsLeft - 1); });
}

void CaptureOverlayWindow::dropKeyboard()
{
    m_wantsKeyboard = false;
    if (windowHandle())
        windowHandle()->setKeyboardGrabEnabled(false);
}

} // namespace lumivex
