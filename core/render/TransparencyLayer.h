#pragma once

#include <QImage>
#include <QPainter>
#include <QRect>
#include <QRectF>

namespace lumivex {

// An offscreen layer over part of a painter's device. What is painted into it is composed onto the painter as
// one picture, faded as a whole, so that a translucent object's fill and stroke do not darken where they
// overlap. The layer covers only the device pixels its content can reach, not the whole device.
class TransparencyLayer {
public:
    // The layer covers `bounds` (in the target's user space) as it lands on the device, grown by
    // `deviceMargin` device pixels, and cut to the device and the target's clip.
    TransparencyLayer(QPainter& target, const QRectF& bounds, double deviceMargin = 0);
    TransparencyLayer(const TransparencyLayer&) = delete;
    TransparencyLayer& operator=(const TransparencyLayer&) = delete;

    // Paints into the layer in the target's user space, with the target's render hints.
    QPainter& painter() { return m_painter; }
    // Ends painting and draws the layer onto the target at `opacity`.
    void compose(double opacity);

private:
    QPainter& m_target;
    QRect m_deviceRect;
    QImage m_image;
    QPainter m_painter;
};

} // namespace lumivex
