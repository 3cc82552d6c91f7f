#pragma once

#include <QPainter>
#include <QRect>
#include <QRectF>

namespace lumivex {

// Offscreen pictures (layers, shadows) are made in device pixels, so that they are as sharp as what the
// painter would have drawn directly, at any zoom and device pixel ratio.
namespace DevicePixels {

// The device pixels that `bounds` (in the painter's user space), grown by `margin` device pixels, covers and
// the painter can show: cut to its device and its clip. Empty when nothing of it shows.
QRect covered(const QPainter& painter, const QRectF& bounds, double margin);

// Makes device pixels the painter's user space (until the caller restores the painter's state), so that an
// image drawn at a whole-pixel position lands pixel for pixel.
void useDevicePixels(QPainter& painter);

// A painter on `image` whose user space is `target`'s, for an image covering `deviceRect` of target's device
// at `scale` image pixels per device pixel, with target's render hints.
void mirror(QPainter& painter, const QPainter& target, const QRect& deviceRect, double scale = 1);

} // namespace DevicePixels

} // namespace lumivex
