#pragma once

#include "app/platform/CaptureBackend.h"

#include <QImage>
#include <QList>
#include <QPointer>
#include <QRect>
#include <QScreen>
#include <QString>

namespace lumivex {

// One output of the desktop as Qt sees it: its place in the layout in points and its pixels per point.
struct OutputGeometry {
    QPointer<QScreen> screen;
    QString name;
    QRect geometry; // top-left global space, points
    double scale = 1;
};

// A picture of the whole desktop layout, as the Screenshot portal returns it, cut into one picture per output.
// The desktop draws the layout at one density for all outputs (the highest), so an output of lower density
// comes back enlarged and is brought back to its own pixel size here; where outputs leave holes in the layout
// the picture is transparent.
namespace LayoutImage {

// Qt's screens, the primary one first.
QList<OutputGeometry> currentOutputs();

// Pixels per point of a picture of this layout: the picture's width over the layout's width, provided the
// height agrees; nothing when the picture cannot be a picture of this layout.
std::optional<double> scaleOf(const QSize& picture, const QList<OutputGeometry>& outputs);

// One opaque shot per output, in the outputs' order, each at the output's own pixel size (never larger than the
// picture has pixels for). Each shot pixel averages the picture pixels it covers, so a solid area comes back
// exactly; the half-transparent margin the desktop leaves along a layout edge does not darken it.
DisplayCapture split(const QImage& picture, const QList<OutputGeometry>& outputs);

// A part of `source` (ARGB32, not premultiplied) averaged down to `size`, opaque (see split()).
QImage shrink(const QImage& source, const QRectF& part, const QSize& size);

} // namespace LayoutImage

} // namespace lumivex
