#include "SampleAnnotations.h"

#include "core/model/StickerImage.h"

#include <QPainter>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace lumivex::test {

namespace {

// A small picture for image stickers: a glossy orange ball with a shadow, on transparency.
std::shared_ptr<const StickerImage> ballSticker()
{
    static const std::shared_ptr<const StickerImage> sticker = [] {
        QImage image(160, 120, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 60));
        p.drawEllipse(QRectF(30, 96, 100, 18));
        QRadialGradient gloss(QPointF(62, 38), 70);
        gloss.setColorAt(0, QColor(255, 230, 160));
        gloss.setColorAt(1, QColor(240, 110, 20));
        p.setBrush(gloss);
        p.drawEllipse(QRectF(35, 5, 90, 90));
        p.end();
        return StickerImage::make(image, QStringLiteral("ball"));
    }();
    return sticker;
}

struct Cell {
    Rect frame; // the annotation's space within its grid cell
    double unit = 1;
    int variant = 0; // how many of the same kind came before: styles alternate with it
};

Annotation rectangle(const Cell& c)
{
    Annotation a(AnnotationKind::rectangle);
    a.frame = c.frame;
    a.strokeColor = RGBAColor::red;
    a.lineWidth = 4 * c.unit;
    a.cornerRadius = c.variant % 3 == 2 ? 1000 * c.unit : (c.variant % 3) * 12 * c.unit;
    a.rotation = c.variant % 2 ? 0 : 0.2;
    if (c.variant % 2) {
        a.fillColor = RGBAColor{0.2, 0.5, 1.0, 1};
        a.opacity = 0.5;
    }
    return a;
}

Annotation ellipse(const Cell& c)
{
    Annotation a(AnnotationKind::ellipse);
    a.frame = c.frame;
    a.fillColor = RGBAColor{0.15, 0.35, 0.95, 0.85};
    a.strokeColor = RGBAColor::white;
    a.lineWidth = 3 * c.unit;
    a.rotation = -0.35;
    return a;
}

Annotation polygon(const Cell& c)
{
    Annotation a(AnnotationKind::polygon);
    const Point centre = c.frame.center();
    const double radius = std::min(c.frame.width, c.frame.height) * 0.5;
    for (int k = 0; k < 10; ++k) { // a five-pointed star
        const double angle = -std::numbers::pi / 2 + k * std::numbers::pi / 5;
        const double r = k % 2 ? radius * 0.45 : radius;
        a.points.push_back({centre.x + r * std::cos(angle), centre.y + r * std::sin(angle)});
    }
    a.fillColor = RGBAColor{0.1, 0.75, 0.35, 1};
    a.strokeColor = RGBAColor{0.05, 0.3, 0.1, 1};
    a.lineWidth = 3 * c.unit;
    a.opacity = c.variant % 2 ? 0.6 : 1;
    return a;
}

Annotation arrow(const Cell& c)
{
    Annotation a(AnnotationKind::arrow);
    const Rect& f = c.frame;
    a.points = {{f.minX(), f.maxY()}, {f.maxX(), f.minY()}};
    a.arrowBend = c.variant % 2 ? 0.35 : -0.25;
    a.strokeColor = c.variant % 3 ? RGBAColor::red : RGBAColor{0.95, 0.2, 0.6, 1};
    a.lineWidth = 6 * c.unit;
    a.outlineColor = RGBAColor::white;
    a.outlineWidth = 2 * c.unit;
    return a;
}

Annotation text(const Cell& c)
{
    Annotation a(AnnotationKind::text);
    a.text = c.variant % 2 ? QStringLiteral("안녕하세요") : QStringLiteral("Lumivex");
    a.fontSize = 28 * c.unit;
    a.bold = c.variant % 3 != 2;
    a.strokeColor = c.variant % 2 ? RGBAColor::black : RGBAColor::red;
    a.fillColor = RGBAColor::yellow;
    a.outlineColor = RGBAColor::white;
    a.outlineWidth = 2.5 * c.unit;
    a.frame = Rect(c.frame.origin(), Size{});
    a.refreshTextFrame(false);
    a.rotation = c.variant % 4 == 1 ? -0.12 : 0;
    return a;
}

Annotation sticker(const Cell& c, bool emoji)
{
    Annotation a(AnnotationKind::sticker);
    const StickerSource source = emoji ? StickerSource::emoji(c.variant % 2 ? QStringLiteral("\U0001F389") : QStringLiteral("\U0001F600"))
                                       : StickerSource::image(ballSticker());
    const double side = std::min(c.frame.width, c.frame.height);
    const double ratio = source.aspectRatio();
    const Size size = ratio >= 1 ? Size{side, side / ratio} : Size{side * ratio, side};
    a.frame = Rect{c.frame.midX() - size.width / 2, c.frame.midY() - size.height / 2, size.width, size.height};
    a.sticker = source;
    a.rotation = c.variant % 3 == 0 ? 0.25 : 0;
    return a;
}

Annotation blur(const Cell& c, int blurIndex)
{
    Annotation a(AnnotationKind::blur);
    a.frame = c.frame;
    a.blurStyle = blurIndex % 2 ? BlurStyle::pixelate : BlurStyle::gaussian;
    a.blurAmount = (blurIndex % 2 ? 14 : 10) * c.unit;
    a.cornerRadius = 10 * c.unit;
    return a;
}

} // namespace

std::vector<Annotation> sampleAnnotations(QSize imageSize, int count, int blurCount)
{
    std::vector<Annotation> annotations;
    if (count <= 0 || imageSize.isEmpty())
        return annotations;
    const double unit = std::max(std::max(imageSize.width(), imageSize.height()) / 1000.0, 1.0);
    const int columns = std::max(1, int(std::ceil(std::sqrt(count * double(imageSize.width()) / imageSize.height()))));
    const int rows = (count + columns - 1) / columns;
    const double cellWidth = double(imageSize.width()) / columns;
    const double cellHeight = double(imageSize.height()) / rows;

    blurCount = std::clamp(blurCount, 0, count);
    std::vector<bool> isBlur(count, false);
    for (int k = 0; k < blurCount; ++k)
        isBlur[std::min(count - 1, int((k + 0.5) * count / blurCount))] = true;

    int shapeIndex = 0, blurIndex = 0;
    for (int i = 0; i < count; ++i) {
        Cell cell;
        cell.frame = Rect{(i % columns + 0.12) * cellWidth, (double(i / columns) + 0.15) * cellHeight, cellWidth * 0.76,
                          cellHeight * 0.7};
        cell.unit = unit;
        cell.variant = shapeIndex / 7;
        if (isBlur[i]) {
            annotations.push_back(blur(cell, blurIndex++));
            continue;
        }
        switch (shapeIndex++ % 7) {
        case 0: annotations.push_back(arrow(cell)); break;
        case 1: annotations.push_back(text(cell)); break;
        case 2: annotations.push_back(rectangle(cell)); break;
        case 3: annotations.push_back(sticker(cell, true)); break;
        case 4: annotations.push_back(ellipse(cell)); break;
        case 5: annotations.push_back(polygon(cell)); break;
        default: annotations.push_back(sticker(cell, false)); break;
        }
    }
    return annotations;
}

} // namespace lumivex::test
