#pragma once

#include <QColor>
#include <QPainter>
#include <QPointF>
#include <QRectF>

#include <functional>

namespace lumivex {

// Soft drop shadows, as the classic 2-D drawing model casts them: the alpha of what is drawn, blurred by a
// gaussian, tinted, and moved by an offset, all in device pixels.
namespace ShadowPainter {

struct Shadow {
    QPointF offset; // device pixels
    double sigma = 0;
    QColor color;
};

// Device pixels the shadow reaches beyond what casts it.
double reach(const Shadow& shadow);

// Draws onto `target` the one shadow that everything `paint` draws (in target's user space, within `bounds`)
// casts as a whole; the caller then draws the same content over it.
void draw(QPainter& target, const QRectF& bounds, const Shadow& shadow, const std::function<void(QPainter&)>& paint);

} // namespace ShadowPainter

} // namespace lumivex
