#include "app/capture/CaptureOverlayView.h"

#include "app/capture/CaptureOverlayLayout.h"
#include "app/capture/CaptureOverlayWindow.h"
#include "app/capture/CaptureSession.h"
#include "app/platform/VirtualKeyCodes.h"
#include "core/capture/CaptureGeometry.h"
#include "core/geometry/QtAdapters.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace lumivex {

namespace {

QString hintText(const CaptureSession& session)
{
    if (session.mode() == CaptureSession::Mode::area)
        return QCoreApplication::translate(
            "CaptureOverlayView", "드래그: 영역 선택   ·   Space: 창 선택   ·   Return: 전체 화면   ·   Esc: 취소");
    if (session.windowPicking() == WindowPicking::unavailable)
        return QCoreApplication::translate(
            "CaptureOverlayView", "이 데스크톱은 창 선택을 제공하지 않습니다   ·   Space: 영역 선택   ·   Return: 전체 화면   ·   Esc: 취소");
    return QCoreApplication::translate(
        "CaptureOverlayView", "클릭: 창 캡처   ·   Space: 영역 선택   ·   Return: 전체 화면   ·   Esc: 취소");
}

QColor withAlpha(QColor color, double alpha)
{
    color.setAlphaF(float(alpha));
    return color;
}

} // namespace

CaptureOverlayView::CaptureOverlayView(const DisplayShot& shot, CaptureSession* session, QWidget* parent)
    : QWidget(parent)
    , m_shot(shot)
    , m_session(session)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    resize(qRound(m_shot.globalFrame.width), qRound(m_shot.globalFrame.height));
    setCursor(Qt::CrossCursor);
}

bool CaptureOverlayView::isActive() const { return m_session && !m_session->isFinished(); }

bool CaptureOverlayView::inWindowMode() const
{
    return m_session && m_session->mode() == CaptureSession::Mode::window;
}

Rect CaptureOverlayView::bounds() const { return {0, 0, m_shot.globalFrame.width, m_shot.globalFrame.height}; }

Vector CaptureOverlayView::displayOffset() const { return {m_shot.globalFrame.x, m_shot.globalFrame.y}; }

bool CaptureOverlayView::showsHint() const
{
    const std::optional<Point> pointer = m_session ? m_session->pointerLocation() : std::nullopt;
    return pointer && m_shot.globalFrame.contains(*pointer);
}

std::optional<Rect> CaptureOverlayView::hoveredRect() const
{
    if (!m_hoveredWindow)
        return std::nullopt;
    const Rect local = m_hoveredWindow->frame.translated(-displayOffset()).intersected(bounds());
    return local.isNull() ? std::nullopt : std::optional<Rect>(local);
}

void CaptureOverlayView::updateHoveredWindow()
{
    if (!inWindowMode() || !m_mouse) {
        m_hoveredWindow.reset();
        return;
    }
    m_hoveredWindow = CaptureGeometry::topWindow(*m_mouse + displayOffset(), m_session->windows());
}

void CaptureOverlayView::refresh()
{
    m_dragStart.reset();
    m_selection.reset();
    updateHoveredWindow();
    setCursor(inWindowMode() ? Qt::ArrowCursor : Qt::CrossCursor);
    update();
}

void CaptureOverlayView::enterEvent(QEnterEvent* event)
{
    if (!isActive())
        return;
    // The display under the pointer receives the keys. Knowing the pointer at once lets window mode
    // highlight the window under it before the first move.
    m_mouse = fromQt(event->position());
    m_session->notePointer(*m_mouse + displayOffset());
    if (inWindowMode())
        updateHoveredWindow();
    if (auto* overlay = qobject_cast<CaptureOverlayWindow*>(window()))
        m_session->makeKey(overlay);
    update();
}

void CaptureOverlayView::leaveEvent(QEvent*)
{
    if (m_mouse && m_session)
        m_session->notePointer(std::nullopt);
    m_mouse.reset();
    if (inWindowMode())
        m_hoveredWindow.reset();
    update();
}

void CaptureOverlayView::mouseMoveEvent(QMouseEvent* event)
{
    if (!isActive())
        return;
    const Point point = fromQt(event->position());
    m_session->notePointer(point + displayOffset());
    if (event->buttons() & Qt::LeftButton) {
        if (!inWindowMode() && m_dragStart)
            dragTo(point);
        return;
    }
    m_mouse = point;
    if (!inWindowMode())
        return;
    const std::optional<WindowInfo> before = m_hoveredWindow;
    updateHoveredWindow();
    if (before != m_hoveredWindow)
        update();
}

void CaptureOverlayView::dragTo(Point point)
{
    // A selection never leaves its display; dragging beyond an edge stops at it.
    const Rect clipped = CaptureGeometry::rect(*m_dragStart, point).intersected(bounds());
    const Rect before = m_selection.value_or(Rect::null());
    m_selection = clipped.isNull() ? std::nullopt : std::optional<Rect>(clipped);
    update(toQt(CaptureOverlayLayout::dragRedrawRect(before, clipped)).toAlignedRect());
}

void CaptureOverlayView::mousePressEvent(QMouseEvent* event)
{
    if (!isActive())
        return;
    if (event->button() == Qt::RightButton) {
        m_session->finish(std::nullopt);
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    const Point point = fromQt(event->position());
    m_mouse = point;
    if (!inWindowMode()) {
        m_dragStart = point;
        m_selection = Rect(point, Size(0, 0));
        return;
    }
    updateHoveredWindow();
    if (!m_hoveredWindow)
        return; // a click where no window is listed does nothing
    const std::optional<Rect> rect = hoveredRect();
    if (rect)
        finishWith(*rect);
    else
        m_session->finish(std::nullopt);
}

void CaptureOverlayView::mouseReleaseEvent(QMouseEvent* event)
{
    if (!isActive() || event->button() != Qt::LeftButton || inWindowMode() || !m_dragStart)
        return;
    m_dragStart.reset();
    finishArea();
}

void CaptureOverlayView::finishArea()
{
    if (m_selection && m_selection->width >= CaptureOverlayLayout::minimumSelection
        && m_selection->height >= CaptureOverlayLayout::minimumSelection) {
        finishWith(*m_selection);
        return;
    }
    // A click or a drag under the minimum in either direction: the overlay stays open.
    m_selection.reset();
    update();
}

void CaptureOverlayView::finishWith(const Rect& rect)
{
    const std::optional<QImage> image
        = CaptureGeometry::crop(m_shot.image, rect, Size(m_shot.globalFrame.width, m_shot.globalFrame.height));
    if (image)
        m_session->finish(CaptureResult{*image, m_shot.scale()});
    else
        m_session->finish(std::nullopt);
}

void CaptureOverlayView::finishWithWholeDisplay() { finishWith(bounds()); }

void CaptureOverlayView::switchMode()
{
    m_session->setMode(inWindowMode() ? CaptureSession::Mode::area : CaptureSession::Mode::window);
    if (inWindowMode() && m_session->windowPicking() == WindowPicking::byDesktop)
        m_session->handOverToDesktop();
    else
        m_session->refreshAll();
}

void CaptureOverlayView::keyPressEvent(QKeyEvent* event)
{
    // Every key stays here: nothing typed during a capture reaches another window.
    event->accept();
    if (!isActive())
        return;
    // These keys are the same in every layout, so the key Qt reports serves; a key's position would not, under
    // the made-up keymaps of virtual keyboards and remote desktops (Wayland lets every keyboard bring its own).
    const std::optional<std::uint16_t> code = VirtualKeyCodes::fromQtKey(event->key(), event->modifiers());
    if (!code)
        return;
    switch (*code) {
    case VirtualKeyCodes::returnKey:
    case VirtualKeyCodes::keypadEnter:
        finishWithWholeDisplay();
        break;
    case VirtualKeyCodes::space:
        // Holding Space would flip the mode on every repeat; one press is one switch.
        if (!event->isAutoRepeat())
            switchMode();
        break;
    case VirtualKeyCodes::escape:
        m_session->finish(std::nullopt);
        break;
    default:
        break;
    }
}

void CaptureOverlayView::drawFrozen(QPainter& painter, const QRectF& area) const
{
    const QRectF target = area.intersected(toQt(bounds()));
    if (target.isEmpty() || m_shot.image.isNull())
        return;
    const double sx = m_shot.image.width() / m_shot.globalFrame.width;
    const double sy = m_shot.image.height() / m_shot.globalFrame.height;
    const QRectF source(target.x() * sx, target.y() * sy, target.width() * sx, target.height() * sy);
    painter.drawImage(target, m_shot.image, source);
}

void CaptureOverlayView::drawPill(QPainter& painter, const QString& text, std::optional<Point> origin) const
{
    const QFont font = CaptureOverlayLayout::pillFont();
    const QFontMetricsF metrics(font);
    const Size size = CaptureOverlayLayout::pillSize(Size(metrics.horizontalAdvance(text), metrics.height()));
    const Point topLeft = origin.value_or(Point((width() - size.width) / 2, CaptureOverlayLayout::hintTop));
    const QRectF pill(toQt(topLeft), toQt(size));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(pill, size.height / 2, size.height / 2);
    painter.fillPath(path, QColor(0, 0, 0, qRound(CaptureOverlayLayout::pillAlpha * 255)));
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(pill, Qt::AlignCenter, text);
    painter.restore();
}

void CaptureOverlayView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRectF dirty = event->rect();
    // One image pixel per device pixel: no interpolation, what is frozen is what is shown.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    drawFrozen(painter, dirty);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.fillRect(dirty, QColor(0, 0, 0, qRound(CaptureOverlayLayout::dimAlpha * 255)));

    const bool windowMode = inWindowMode();
    const std::optional<Rect> highlight = windowMode ? hoveredRect() : m_selection;
    const bool hint = showsHint();
    if (highlight && !highlight->isEmpty()) {
        const QRectF rect = toQt(*highlight);
        painter.save();
        painter.setClipRect(rect.intersected(dirty.adjusted(-4, -4, 4, 4)));
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        drawFrozen(painter, rect);
        painter.restore();
        const QColor accent = palette().color(QPalette::Highlight);
        if (windowMode)
            painter.fillRect(rect, withAlpha(accent, CaptureOverlayLayout::windowHighlightAlpha));
        QPen outline(windowMode ? accent : QColor(Qt::white), windowMode ? 3 : 1);
        outline.setJoinStyle(Qt::MiterJoin);
        painter.setPen(outline);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(toQt(highlight->inset(0.5, 0.5)));
        if (!windowMode)
            drawPill(painter,
                     CaptureOverlayLayout::sizeLabelText(highlight->size(), m_shot.scale()),
                     CaptureOverlayLayout::sizeLabelOrigin(*highlight));
    }
    if (hint && m_session)
        drawPill(painter, hintText(*m_session), std::nullopt);
}

} // namespace lumivex
