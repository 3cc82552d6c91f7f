#include "app/editor/CanvasOverlay.h"

#include "core/document/CropGeometry.h"
#include "core/geometry/QtAdapters.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace lumivex::CanvasOverlay {

namespace {

constexpr double kLineWidth = 1.5;
constexpr double kHandleBox = 12;

QPen accentPen(Qt::PenStyle style = Qt::SolidLine)
{
    QPen pen(accent(), kLineWidth, style);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

QPen dashedAccentPen(double on, double off)
{
    QPen pen = accentPen();
    // Qt measures dashes in pen widths; the design gives them in points.
    pen.setDashPattern({on / kLineWidth, off / kLineWidth});
    return pen;
}

QRectF boxAround(QPointF centre, double size)
{
    return {centre.x() - size / 2, centre.y() - size / 2, size, size};
}

QPolygonF toViewPolygon(const std::vector<Point>& points, const CanvasTransform& transform)
{
    QPolygonF polygon;
    polygon.reserve(qsizetype(points.size()));
    for (const Point& p : points)
        polygon << transform.toView(p);
    return polygon;
}

void drawHandle(QPainter& painter, Handle::Type type, QPointF at)
{
    const QRectF box = boxAround(at, kHandleBox);
    const QRectF smaller = box.adjusted(1.5, 1.5, -1.5, -1.5);
    // Every handle is white with an accent outline, except the arrow's bend knob, which is the reverse.
    const bool reversed = type == Handle::Type::bend;
    painter.setPen(reversed ? QPen(Qt::white, kLineWidth) : accentPen());
    painter.setBrush(reversed ? accent() : QColor(Qt::white));
    switch (type) {
    case Handle::Type::corner:
        painter.drawRect(box);
        break;
    case Handle::Type::point:
    case Handle::Type::rotate:
        painter.drawEllipse(box);
        break;
    case Handle::Type::edge:
        painter.drawRect(smaller);
        break;
    case Handle::Type::bend:
        painter.drawEllipse(smaller);
        break;
    }
}

const std::pair<Handle, Point>* findHandle(const std::vector<std::pair<Handle, Point>>& handles, Handle wanted)
{
    const auto found = std::find_if(handles.begin(), handles.end(),
                                    [&](const auto& entry) { return entry.first == wanted; });
    return found == handles.end() ? nullptr : &*found;
}

} // namespace

QColor accent() { return QColor(79, 70, 229); }

void drawSelection(QPainter& painter, const Annotation& annotation, const CanvasTransform& transform)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (annotation.kind != AnnotationKind::polygon && annotation.kind != AnnotationKind::arrow) {
        const QPolygonF outline = toViewPolygon(annotation.selectionOutline(), transform);
        if (!outline.isEmpty()) {
            painter.setPen(dashedAccentPen(5, 3));
            painter.setBrush(Qt::NoBrush);
            painter.drawPolygon(outline);
        }
    }

    const auto handles = annotation.handles(transform.toImageLength(rotateKnobOffset));
    const auto* knob = findHandle(handles, Handle::rotate());
    const auto* topLeft = findHandle(handles, Handle::corner(0));
    const auto* topRight = findHandle(handles, Handle::corner(1));
    if (knob && topLeft && topRight) {
        painter.setPen(accentPen());
        painter.drawLine(transform.toView(Point::midpoint(topLeft->second, topRight->second)),
                         transform.toView(knob->second));
    }
    for (const auto& [handle, position] : handles)
        drawHandle(painter, handle.type, transform.toView(position));
    painter.restore();
}

QString cropSizeLabel(const Rect& draft)
{
    // Truncation, not rounding: the label names the pixels that are fully inside.
    const auto whole = [](double value) {
        return std::isfinite(value) ? QString::number(static_cast<long long>(std::trunc(value))) : QStringLiteral("0");
    };
    return whole(draft.width) + QStringLiteral(" × ") + whole(draft.height);
}

QFont cropLabelFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(12);
    font.setWeight(QFont::Medium);
    return font;
}

QRectF cropLabelPill(const QRectF& draftInView, const QSizeF& textSize)
{
    const double y = std::max(draftInView.top() - textSize.height() - 12, 2.0);
    return {draftInView.left(), y, textSize.width() + 16, textSize.height() + 6};
}

void drawCropOverlay(QPainter& painter, const Rect& draft, const QRectF& card, const CanvasTransform& transform)
{
    const QRectF shown = transform.toView(draft);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);

    QPainterPath outside;
    outside.setFillRule(Qt::OddEvenFill);
    outside.addRect(card);
    outside.addRect(shown);
    painter.fillPath(outside, QColor::fromRgbF(0, 0, 0, 0.55));

    painter.setPen(QPen(QColor::fromRgbF(1, 1, 1, 0.45), 0.5));
    for (int third = 1; third <= 2; ++third) {
        const double x = shown.left() + shown.width() * third / 3;
        const double y = shown.top() + shown.height() * third / 3;
        painter.drawLine(QPointF(x, shown.top()), QPointF(x, shown.bottom()));
        painter.drawLine(QPointF(shown.left(), y), QPointF(shown.right(), y));
    }

    painter.setPen(QPen(Qt::white, kLineWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(shown);

    painter.setPen(accentPen());
    painter.setBrush(Qt::white);
    for (const auto& [handle, point] : CropGeometry::handlePoints(draft))
        painter.drawRect(boxAround(transform.toView(point), 10));

    const QString label = cropSizeLabel(draft);
    const QFont font = cropLabelFont();
    const QFontMetricsF metrics(font);
    const QSizeF textSize(metrics.horizontalAdvance(label), metrics.height());
    const QRectF pill = cropLabelPill(shown, textSize);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgbF(0, 0, 0, 0.75));
    painter.drawRoundedRect(pill, pill.height() / 2, pill.height() / 2);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(pill.topLeft() + QPointF(8, 3), textSize), Qt::AlignLeft | Qt::AlignTop, label);
    painter.restore();
}

void drawRecognitionRegion(QPainter& painter, const QRectF& regionInView)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QColor fill = accent();
    fill.setAlphaF(0.14f);
    painter.fillRect(regionInView, fill);
    painter.setPen(dashedAccentPen(6, 4));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(regionInView);
    painter.restore();
}

void drawPolygonDraft(QPainter& painter, const std::vector<Point>& points, const CanvasTransform& transform)
{
    const QPolygonF shown = toViewPolygon(points, transform);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(dashedAccentPen(5, 3));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(shown);
    if (shown.size() >= 2) {
        painter.setPen(accentPen());
        painter.setBrush(accent());
        painter.drawEllipse(boxAround(shown.front(), 12));
        painter.setBrush(Qt::white);
        // The last point follows the mouse and gets no dot.
        for (qsizetype i = 1; i + 1 < shown.size(); ++i)
            painter.drawEllipse(boxAround(shown[i], 8));
    }
    painter.restore();
}

} // namespace lumivex::CanvasOverlay
