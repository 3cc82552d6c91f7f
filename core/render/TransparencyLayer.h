#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QRect>
#include <QRectF>

#include <optional>

namespace lumivex {

// An offscreen layer over part of a painter's device. What is painted into it is composed onto the painter as
// one picture: faded as a whole (so a translucent object's fill and stroke do not darken where they overlap),
// and optionally casting one soft shadow. The layer covers only the device pixels the content can reach, not
// the whole device.
class TransparencyLayer {
public:
    // A shadow in device pixels: the layer's alpha blurred by a gaussian of `sigma`, tinted, moved by `offset`.
    struct Shadow {
        QPointF offset;
        double sigma = 0;
        QColor color;
    };

    // The layer covers `bounds` (in the target's user space) as it lands on the device, grown by
    // `deviceMargin` device pixels, and cut to the device and the target's clip.
    TransparencyLayer(QPainter& target, const QRectF& bounds, double deviceMargin = 0);
    TransparencyLayer(const TransparencyLayer&) = delete;
    TransparencyLayer& operator=(const TransparencyLayer&) = delete;

    // Paints into the layer in the target's user space, with the target's render hints.
    QPainter& painter() { return m_painter; }
    // Ends painting and draws the layer (below it its shadow) onto the target at `opacity`.
    void compose(double opacity, const std::optional<Shadow>& shadow = std::nullopt);

    // The device pixels the layer covers (empty when nothing of it can show).
    const QRect& deviceRect() const { return m_deviceRect; }

private:
    void drawShadow(const Shadow& shadow);
    // `colour` with the alpha of each pixel of `alphaSource` (Format_ARGB32_Premultiplied or Format_RGB32).
    static QImage tinted(const QImage& alphaSource, const QColor& colour);

    QPainter& m_target;
    QRect m_deviceRect;
    QImage m_image;
    QPainter m_painter;
};

} // namespace lumivex
