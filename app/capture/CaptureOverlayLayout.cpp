#include "app/capture/CaptureOverlayLayout.h"

#include <QApplication>

#include <algorithm>
#include <cmath>

namespace lumivex::CaptureOverlayLayout {

QString sizeLabelText(Size selectionPoints, double pixelsPerPoint)
{
    const double width = std::round(selectionPoints.width * pixelsPerPoint);
    const double height = std::round(selectionPoints.height * pixelsPerPoint);
    return QStringLiteral("%1 × %2").arg(width, 0, 'f', 0).arg(height, 0, 'f', 0);
}

Point sizeLabelOrigin(const Rect& selection)
{
    return {selection.minX(), std::max(selection.minY() - 28, 4.0)};
}

Size pillSize(Size textSize) { return {std::ceil(textSize.width) + 24, std::ceil(textSize.height) + 12}; }

Rect dragRedrawRect(const Rect& oldSelection, const Rect& newSelection)
{
    // A null rectangle (no selection before, or none left after clipping) adds nothing to the union.
    return oldSelection.united(newSelection).outset(4, 40);
}

QFont pillFont()
{
    QFont font = QApplication::font();
    font.setPixelSize(13);
    font.setWeight(QFont::Medium);
    return font;
}

} // namespace lumivex::CaptureOverlayLayout
