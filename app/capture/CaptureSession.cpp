#include "app/capture/CaptureSession.h"

#include "app/capture/CaptureOverlayView.h"
#include "app/capture/CaptureOverlayWindow.h"

namespace lumivex {

CaptureSession::CaptureSession(Mode mode, QList<DisplayShot> shots, QList<WindowInfo> windows, Completion completion,
                               PointerLocation pointer, QObject* parent)
    : QObject(parent)
    , m_mode(mode)
    , m_shots(std::move(shots))
    , m_windows(std::move(windows))
    , m_completion(std::move(completion))
    , m_pointer(std::move(pointer))
{
}

CaptureSession::~CaptureSession() = default;

QList<CaptureOverlayWindow*> CaptureSession::overlays() const
{
    QList<CaptureOverlayWindow*> result;
    for (const auto& overlay : m_overlays)
        result.append(overlay.get());
    return result;
}

void CaptureSession::start()
{
    if (m_finished || !m_overlays.empty())
        return;
    for (const DisplayShot& shot : m_shots)
        m_overlays.push_back(std::make_unique<CaptureOverlayWindow>(shot, this));
    if (m_overlays.empty())
        return;

    CaptureOverlayWindow* key = m_overlays.front().get();
    if (const std::optional<Point> pointer = pointerLocation()) {
        for (const auto& overlay : m_overlays) {
            if (overlay->shot().globalFrame.contains(*pointer)) {
                key = overlay.get();
                break;
            }
        }
    }
    for (const auto& overlay : m_overlays)
        if (overlay.get() != key)
            overlay->show();
    key->show();
    makeKey(key);
    refreshAll();
}

void CaptureSession::makeKey(CaptureOverlayWindow* overlay)
{
    if (m_finished)
        return;
    // X has one keyboard grab per client: release it on the others first so that it ends up on this one.
    for (const auto& other : m_overlays)
        if (other.get() != overlay && other->hasKeyboard())
            other->dropKeyboard();
    if (!overlay->hasKeyboard())
        overlay->takeKeyboard();
}

void CaptureSession::refreshAll()
{
    for (const auto& overlay : m_overlays)
        overlay->overlayView()->refresh();
}

std::optional<Point> CaptureSession::pointerLocation() const
{
    if (std::optional<Point> pointer = m_pointer ? m_pointer() : std::nullopt)
        return pointer;
    return m_seenPointer;
}

void CaptureSession::setDesktopPicker(WindowPicking picking, std::function<void()> handOver)
{
    m_windowPicking = picking;
    m_handOver = std::move(handOver);
}

void CaptureSession::handOverToDesktop()
{
    if (m_windowPicking != WindowPicking::byDesktop || !m_handOver || !close())
        return;
    m_handOver();
}

void CaptureSession::finish(std::optional<CaptureResult> result)
{
    if (close() && m_completion)
        m_completion(std::move(result));
}

bool CaptureSession::close()
{
    if (m_finished)
        return false;
    m_finished = true;
    // finish() runs inside an overlay's own event handler: hide now, delete once that handler has returned.
    for (auto& overlay : m_overlays) {
        overlay->dropKeyboard();
        overlay->hide();
        overlay.release()->deleteLater();
    }
    m_overlays.clear();
    return true;
}

} // namespace lumivex
