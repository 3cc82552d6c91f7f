#include "app/editor/CanvasView.h"

#include "app/design/Design.h"
#include "app/editor/CanvasOverlay.h"
#include "app/editor/CanvasTextSession.h"
#include "app/editor/ToolCursor.h"
#include "app/platform/VirtualKeyCodes.h"
#include "core/document/CropGeometry.h"
#include "core/document/EditorDocument.h"
#include "core/document/UndoActionNames.h"
#include "core/model/Tool.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <utility>

namespace lumivex {

namespace {

template <class... Cases>
struct Overloaded : Cases... {
    using Cases::operator()...;
};
template <class... Cases>
Overloaded(Cases...) -> Overloaded<Cases...>;

QString undoNameForHandle(const Handle& handle)
{
    switch (handle.type) {
    case Handle::Type::corner:
        return UndoActionNames::resize();
    case Handle::Type::point:
        return UndoActionNames::movePoint();
    case Handle::Type::edge:
        return UndoActionNames::textBoxSize();
    case Handle::Type::rotate:
        return UndoActionNames::rotate();
    case Handle::Type::bend:
        return UndoActionNames::bendArrow();
    }
    return UndoActionNames::move();
}

double viewDistance(QPointF a, QPointF b) { return std::hypot(a.x() - b.x(), a.y() - b.y()); }

} // namespace

CanvasView::CanvasView(EditorDocument& document, CopyTextHandler onCopyText, QWidget* parent)
    : QWidget(parent)
    , m_doc(document)
    , m_onCopyText(std::move(onCopyText))
    , m_polygon(document)
{
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(120, 120);

    m_textRegionClear.setSingleShot(true);
    m_textRegionClear.setInterval(textRegionLingerMs);
    connect(&m_textRegionClear, &QTimer::timeout, this, [this] {
        m_textRegion.reset();
        update();
    });

    for (auto signal : {&EditorDocument::stateChanged, &EditorDocument::selectionChanged,
                        &EditorDocument::toolChanged, &EditorDocument::styleChanged,
                        &EditorDocument::stickyToolChanged, &EditorDocument::cropDraftChanged})
        connect(&m_doc, signal, this, &CanvasView::documentChanged);
    // Finishing a draft changes the document; doing it from inside the document's own tool change would run
    // in the middle of its reactions, so it waits for the next turn of the event loop.
    connect(&m_doc, &EditorDocument::toolChanged, this, &CanvasView::finishPolygonAfterToolChange,
            Qt::QueuedConnection);
    setCursor(ToolCursor::cursor(m_doc.tool()));

    m_text = new CanvasTextSession(m_doc, *this, [this] { return transform(); });
    connect(m_text, &CanvasTextSession::finished, this, [this](bool takeFocus) {
        if (takeFocus)
            setFocus(Qt::OtherFocusReason);
        update();
    });
}

CanvasView::~CanvasView() = default;

CanvasTransform CanvasView::transform() const
{
    return CanvasTransform::fitting(Size(width(), height()), m_doc.displayState().canvasRect());
}

// ---------------------------------------------------------------- mouse

void CanvasView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    press(event->position(), 1);
}

void CanvasView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseDoubleClickEvent(event);
        return;
    }
    press(event->position(), 2);
}

void CanvasView::mouseMoveEvent(QMouseEvent* event)
{
    const Point p = transform().toImage(event->position());
    if (m_drag) {
        drag(p, event->modifiers().testFlag(Qt::ShiftModifier));
        return;
    }
    m_polygon.follow(p);
}

void CanvasView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    release();
}

void CanvasView::press(QPointF viewPoint, int clickCount)
{
    m_text->finish(true);
    setFocus(Qt::MouseFocusReason);
    // A tool change whose queued draft finishing has not run yet must not leave the draft open.
    finishPolygonAfterToolChange();

    const CanvasTransform t = transform();
    const Point p = t.toImage(viewPoint);
    m_moved = false;
    switch (m_doc.tool()) {
    case Tool::copyText:
        startTextRegion(p);
        return;
    case Tool::crop:
        cropMouseDown(p, viewPoint, t, clickCount);
        return;
    default:
        break;
    }
    if (!m_polygon.isDrafting() && pressOnSelectionOrObject(p, viewPoint, t, clickCount))
        return;
    pressWithTool(p, viewPoint, t, clickCount);
}

bool CanvasView::pressOnSelectionOrObject(Point p, QPointF viewPoint, const CanvasTransform& t, int clickCount)
{
    if (const auto selected = m_doc.selectedAnnotation()) {
        if (const auto handle = handleHit(*selected, viewPoint, t)) {
            m_doc.beginInteraction();
            m_drag = CanvasDrags::HandleDrag{*handle, selected->id, *selected};
            return true;
        }
    }
    const double tolerance = t.toImageLength(hitTolerance);
    // The text tool reaches through other objects to the texts, so a new text can start on a shape.
    const auto hit = m_doc.tool() == Tool::text ? textAnnotationAt(p, tolerance) : m_doc.hitTest(p, tolerance);
    if (!hit)
        return false;
    m_doc.select(hit->id);
    if (clickCount > 1 && hit->kind == AnnotationKind::text) {
        m_text->begin(hit->id, false);
        return true;
    }
    m_doc.beginInteraction();
    m_drag = CanvasDrags::Move{hit->id, p, *hit};
    return true;
}

bool CanvasView::pressWithTool(Point p, QPointF viewPoint, const CanvasTransform& t, int clickCount)
{
    switch (m_doc.tool()) {
    case Tool::select:
        m_doc.select(std::nullopt);
        break;
    case Tool::polygon:
        m_polygon.click(p, viewPoint, t, clickCount);
        break;
    case Tool::text:
        startText(p);
        break;
    case Tool::rectangle:
    case Tool::filledRectangle:
    case Tool::ellipse:
    case Tool::arrow:
    case Tool::blur:
        startShape(p);
        break;
    case Tool::crop:
    case Tool::copyText:
        return false;
    }
    update();
    return true;
}

std::optional<Handle> CanvasView::handleHit(const Annotation& annotation, QPointF viewPoint,
                                            const CanvasTransform& t) const
{
    const auto handles = annotation.handles(t.toImageLength(CanvasOverlay::rotateKnobOffset));
    // Later handles (the rotation knob, edges, arrow ends) win where they overlap earlier ones.
    for (auto it = handles.rbegin(); it != handles.rend(); ++it) {
        if (viewDistance(t.toView(it->second), viewPoint) <= handleReach)
            return it->first;
    }
    return std::nullopt;
}

std::optional<Annotation> CanvasView::textAnnotationAt(Point p, double tolerance) const
{
    const auto& annotations = m_doc.state().annotations;
    for (auto it = annotations.rbegin(); it != annotations.rend(); ++it) {
        if (it->kind == AnnotationKind::text && it->contains(p, tolerance))
            return *it;
    }
    return std::nullopt;
}

Point CanvasView::clampedToVisible(Point p) const
{
    const Rect visible = m_doc.state().visibleRect();
    return {std::clamp(p.x, visible.minX(), visible.maxX()), std::clamp(p.y, visible.minY(), visible.maxY())};
}

void CanvasView::startTextRegion(Point p)
{
    m_textRegionClear.stop();
    const Point start = clampedToVisible(p);
    m_textRegion = Rect(start.x, start.y, 0, 0);
    m_drag = CanvasDrags::TextRegion{start};
    update();
}

void CanvasView::startText(Point p)
{
    m_doc.prepareForCreation();
    m_doc.beginInteraction();
    Annotation text = m_doc.makeAnnotation(AnnotationKind::text);
    text.text.clear();
    text.refreshTextFrame(false);
    // The click marks where the first line starts: the box's left edge, halfway down its first line.
    text.frame.x = p.x;
    text.frame.y = p.y - text.frame.height / 2;
    m_doc.addTransient(text);
    m_text->begin(text.id, true);
}

void CanvasView::startShape(Point p)
{
    const auto kind = Tools::annotationKind(m_doc.tool());
    if (!kind)
        return;
    m_doc.prepareForCreation();
    m_doc.beginInteraction();
    Annotation shape = m_doc.makeAnnotation(*kind);
    if (*kind == AnnotationKind::arrow)
        shape.points = {p, p};
    else
        shape.frame = Rect(p.x, p.y, 0, 0);
    m_doc.addTransient(shape);
    m_drag = CanvasDrags::Create{shape.id, p};
}

void CanvasView::cropMouseDown(Point p, QPointF viewPoint, const CanvasTransform& t, int clickCount)
{
    const Rect bounds = m_doc.state().imageRect();
    const auto draft = m_doc.cropDraft();
    if (!draft) {
        m_drag = CanvasDrags::CropCreate{p, bounds};
        return;
    }
    for (const auto& [handle, point] : CropGeometry::handlePoints(*draft)) {
        if (viewDistance(t.toView(point), viewPoint) <= cropHandleReach) {
            m_drag = CanvasDrags::CropResize{handle, *draft};
            return;
        }
    }
    // A draft covering the whole image cannot move; a drag inside it draws a new one instead.
    if (draft->contains(p) && !(*draft == bounds)) {
        if (clickCount > 1)
            m_doc.applyCrop();
        else
            m_drag = CanvasDrags::CropMove{p, *draft};
        return;
    }
    m_drag = CanvasDrags::CropCreate{p, *draft};
}

void CanvasView::drag(Point p, bool shift)
{
    m_moved = true;
    const Rect bounds = m_doc.state().imageRect();
    std::visit(
        Overloaded{
            [&](const CanvasDrags::Create& create) {
                m_doc.modify(create.id, [&](Annotation& a) {
                    if (a.kind == AnnotationKind::arrow) {
                        if (a.points.size() >= 2)
                            a.points[1] = a.dragging(Handle::point(1), p, shift).points[1];
                        return;
                    }
                    double dx = p.x - create.start.x;
                    double dy = p.y - create.start.y;
                    if (shift) {
                        // A square or circle, growing in the direction of the drag.
                        const double side = std::max(std::abs(dx), std::abs(dy));
                        dx = std::copysign(side, dx);
                        dy = std::copysign(side, dy);
                    }
                    a.frame = Rect(std::min(create.start.x, create.start.x + dx),
                                   std::min(create.start.y, create.start.y + dy), std::abs(dx), std::abs(dy));
                });
            },
            [&](const CanvasDrags::Move& move) {
                m_doc.modify(move.id, [&](Annotation& a) {
                    a = move.original;
                    a.translate(p - move.start);
                });
            },
            [&](const CanvasDrags::HandleDrag& handle) {
                m_doc.modify(handle.id,
                             [&](Annotation& a) { a = handle.original.dragging(handle.handle, p, shift); });
            },
            [&](const CanvasDrags::CropCreate& crop) {
                m_doc.setCropDraft(CropGeometry::newRect(crop.start, p, bounds));
            },
            [&](const CanvasDrags::CropMove& crop) {
                m_doc.setCropDraft(CropGeometry::moved(crop.original, p - crop.start, bounds));
            },
            [&](const CanvasDrags::CropResize& crop) {
                m_doc.setCropDraft(CropGeometry::resized(crop.original, crop.handle, p, bounds, cropMinimumSize));
            },
            [&](const CanvasDrags::TextRegion& region) {
                m_textRegion = Rect::spanning(region.start, clampedToVisible(p));
                update();
            },
        },
        *m_drag);
}

void CanvasView::release()
{
    if (!m_drag)
        return;
    const CanvasDrag finished = std::move(*m_drag);
    m_drag.reset();
    const double minimum = transform().toImageLength(minimumShapeSize);
    std::visit(Overloaded{
                   [&](const CanvasDrags::Create& create) { finishCreate(create, minimum); },
                   [&](const CanvasDrags::Move&) {
                       if (m_moved)
                           m_doc.endInteraction(UndoActionNames::move());
                       else
                           m_doc.cancelInteraction();
                   },
                   [&](const CanvasDrags::HandleDrag& handle) {
                       if (m_moved)
                           m_doc.endInteraction(undoNameForHandle(handle.handle));
                       else
                           m_doc.cancelInteraction();
                   },
                   [&](const CanvasDrags::CropCreate& crop) {
                       // A click outside the draft (or a tiny drag) keeps the draft that was there.
                       const auto draft = m_doc.cropDraft();
                       if (draft && (draft->width < cropMinimumSize || draft->height < cropMinimumSize))
                           m_doc.setCropDraft(crop.previous);
                   },
                   [&](const CanvasDrags::CropMove&) {},
                   [&](const CanvasDrags::CropResize&) {},
                   [&](const CanvasDrags::TextRegion&) { finishTextRegion(minimum); },
               },
               finished);
    update();
}

void CanvasView::finishCreate(const CanvasDrags::Create& create, double minimum)
{
    const auto shape = m_doc.annotation(create.id);
    if (!shape) {
        // Something removed the object mid-gesture; closing the bracket keeps undo usable.
        m_doc.cancelInteraction();
        return;
    }
    const bool bigEnough = shape->kind == AnnotationKind::arrow
        ? shape->points.size() >= 2 && shape->points[0].distance(shape->points[1]) >= minimum
        : shape->frame.width >= minimum && shape->frame.height >= minimum;
    if (!bigEnough) {
        m_doc.cancelInteraction();
        return;
    }
    m_doc.endInteraction(UndoActionNames::add());
    if (!m_doc.stickyTool())
        m_doc.setTool(Tool::select);
}

void CanvasView::finishTextRegion(double minimum)
{
    if (!m_textRegion)
        return;
    const double regionMinimum = 2 * minimum;
    if (m_textRegion->width < regionMinimum || m_textRegion->height < regionMinimum) {
        m_textRegion.reset();
        return;
    }
    if (m_onCopyText)
        m_onCopyText(*m_textRegion);
    m_textRegionClear.start();
}

// ---------------------------------------------------------------- polygon drafting

void CanvasView::finishPolygonAfterToolChange()
{
    if (m_polygon.isDrafting() && m_doc.tool() != Tool::polygon) {
        m_polygon.finish(false);
        update();
    }
}

// ---------------------------------------------------------------- keys

bool CanvasView::event(QEvent* event)
{
    // A key the gesture claims must reach keyPressEvent rather than trigger a window command.
    if (event->type() == QEvent::ShortcutOverride && gestureClaims(static_cast<const QKeyEvent&>(*event))) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

bool CanvasView::gestureClaims(const QKeyEvent& event) const
{
    // While the mouse holds a gesture its interaction is open: nothing may happen to the document by key.
    if (m_drag)
        return true;
    // The polygon being drafted takes Delete and Backspace for its last vertex (it is the selection meanwhile).
    return m_polygon.isDrafting() && (event.key() == Qt::Key_Delete || event.key() == Qt::Key_Backspace);
}

void CanvasView::keyPressEvent(QKeyEvent* event)
{
    if (m_text->isOpen()) {
        QWidget::keyPressEvent(event);
        return;
    }
    // While the mouse holds a gesture, its interaction is open: a key that changed the document now (an arrow,
    // a tool) would be recorded inside the gesture.
    if (m_drag) {
        event->accept();
        return;
    }
    const auto code = VirtualKeyCodes::fromKeyEvent(*event);
    if (!code) {
        QWidget::keyPressEvent(event);
        return;
    }
    using namespace VirtualKeyCodes;
    const bool isReturn = *code == returnKey || *code == keypadEnter;
    const bool isDelete = *code == deleteKey || *code == forwardDelete;
    const bool isEscape = *code == escape;

    if (m_doc.tool() == Tool::crop && (isReturn || isEscape)) {
        isReturn ? m_doc.applyCrop() : m_doc.cancelCrop();
        return;
    }
    if (m_polygon.isDrafting() && (isReturn || isDelete || isEscape)) {
        if (isReturn)
            m_polygon.finish(true);
        else if (isDelete)
            m_polygon.removeLastPoint();
        else
            m_polygon.cancel();
        update();
        return;
    }
    const bool commandLike = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (!commandLike && chooseToolByKey(*code, event->isAutoRepeat()))
        return;
    if (isReturn) {
        const auto selected = m_doc.selectedAnnotation();
        if (selected && selected->kind == AnnotationKind::text)
            m_text->begin(selected->id, false);
        return;
    }
    if (isEscape) {
        if (m_doc.tool() != Tool::select)
            m_doc.setTool(Tool::select);
        else
            m_doc.select(std::nullopt);
        return;
    }
    if (*code == leftArrow || *code == rightArrow || *code == downArrow || *code == upArrow) {
        nudge(*code, event->modifiers().testFlag(Qt::ShiftModifier));
        return;
    }
    QWidget::keyPressEvent(event);
}

bool CanvasView::chooseToolByKey(std::uint16_t keyCode, bool isAutoRepeat)
{
    for (const Tool tool : Tools::allCases) {
        const auto codes = Tools::keyCodes(tool);
        if (std::find(codes.begin(), codes.end(), keyCode) == codes.end())
            continue;
        // The digit of the current drawing tool steps its size instead; holding it down steps once.
        if (tool == m_doc.tool() && Tools::cyclesSizeOnRepeat(tool) && Tools::numberKeyCode(tool) == keyCode) {
            if (!isAutoRepeat)
                m_doc.cycleSizeLevel();
        } else {
            m_doc.setTool(tool);
        }
        return true;
    }
    return false;
}

void CanvasView::nudge(std::uint16_t keyCode, bool large)
{
    const auto selection = m_doc.selection();
    if (!selection)
        return;
    // The step is in view points, so the object moves the same distance on screen at every zoom.
    const double step = transform().toImageLength(large ? 10 : 1);
    Vector by;
    switch (keyCode) {
    case VirtualKeyCodes::leftArrow:
        by = {-step, 0};
        break;
    case VirtualKeyCodes::rightArrow:
        by = {step, 0};
        break;
    case VirtualKeyCodes::downArrow:
        by = {0, step};
        break;
    case VirtualKeyCodes::upArrow:
        by = {0, -step};
        break;
    default:
        return;
    }
    const QUuid id = *selection;
    m_doc.perform(UndoActionNames::move(), [&](EditorState& state) {
        for (Annotation& a : state.annotations) {
            if (a.id == id)
                a.translate(by);
        }
    });
}

// ---------------------------------------------------------------- observation and drawing

void CanvasView::documentChanged()
{
    update();
    setCursor(ToolCursor::cursor(m_doc.tool()));
    m_text->reposition();
}

void CanvasView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_text->reposition();
}

void CanvasView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Keys reach the canvas without a click first.
    QTimer::singleShot(0, this, [this] {
        if (!m_text->isOpen())
            setFocus(Qt::OtherFocusReason);
    });
}

std::optional<QUuid> CanvasView::activeAnnotation() const
{
    if (m_drag) {
        if (const auto* create = std::get_if<CanvasDrags::Create>(&*m_drag))
            return create->id;
        if (const auto* move = std::get_if<CanvasDrags::Move>(&*m_drag))
            return move->id;
        if (const auto* handle = std::get_if<CanvasDrags::HandleDrag>(&*m_drag))
            return handle->id;
    }
    if (const auto editing = m_text->editingID())
        return editing;
    return m_polygon.draft();
}

QColor CanvasView::backdropColour() const
{
    return Design::color(Design::Token::nsCanvas);
}

void CanvasView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const EditorState display = m_doc.displayState();
    const Rect canvas = display.canvasRect();
    const CanvasTransform t = CanvasTransform::fitting(Size(width(), height()), canvas);
    m_scene.paint(painter, {display, t, size(), devicePixelRatioF(), backdropColour(), m_text->glyphHiddenIDs(),
                            activeAnnotation(), &m_doc.blurCache()});

    const bool creating = m_drag && std::holds_alternative<CanvasDrags::Create>(*m_drag);
    if (!m_text->isOpen() && !m_polygon.isDrafting() && m_doc.tool() != Tool::crop && !creating) {
        if (const auto selected = m_doc.selectedAnnotation())
            CanvasOverlay::drawSelection(painter, *selected, t);
    }
    if (m_doc.tool() == Tool::crop && m_doc.cropDraft())
        CanvasOverlay::drawCropOverlay(painter, *m_doc.cropDraft(), t.cardRect(canvas), t);
    if (m_textRegion)
        CanvasOverlay::drawRecognitionRegion(painter, t.toView(*m_textRegion));
    if (const auto id = m_polygon.draft()) {
        if (const auto draft = m_doc.annotation(*id))
            CanvasOverlay::drawPolygonDraft(painter, draft->points, t);
    }
}

} // namespace lumivex
