#include "core/render/Renderer.h"

#include "core/geometry/QtAdapters.h"
#include "core/model/AnnotationKind.h"
#include "core/model/StickerSource.h"
#include "core/model/TextLayout.h"
#include "core/render/BlurRenderer.h"
#include "core/render/LargeAllocation.h"
#include "core/render/ShadowPainter.h"
#include "core/render/StrokeOutline.h"
#include "core/render/TransparencyLayer.h"

#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace lumivex::Renderer {

namespace {

bool isFinite(const std::vector<Point>& points)
{
    return std::all_of(points.begin(), points.end(), [](Point p) { return std::isfinite(p.x) && std::isfinite(p.y); });
}

// A length that only counts when it is a real positive number.
double positive(double value) { return std::isfinite(value) && value > 0 ? value : 0; }

QColor qColor(const RGBAColor& color) { return color.toQColor(); }

// ---- paths

// The radius rule of rectangles and blur regions: at most half the shorter side, so an oversized radius gives
// a capsule; a negative radius gives square corners.
QPainterPath roundedRectPath(const Rect& frame, double cornerRadius)
{
    const Rect r = frame.standardized();
    const double radius = std::min(positive(cornerRadius), std::min(r.width, r.height) * 0.5);
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    if (radius > 0)
        path.addRoundedRect(toQt(r), radius, radius);
    else
        path.addRect(toQt(r));
    return path;
}

QPainterPath closedPath(const std::vector<Point>& points)
{
    QPolygonF polygon;
    polygon.reserve(qsizetype(points.size()));
    for (Point p : points)
        polygon << toQt(p);
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    path.addPolygon(polygon);
    path.closeSubpath();
    return path;
}

QRectF boundsOf(const std::vector<Point>& points)
{
    QPolygonF polygon;
    for (Point p : points)
        polygon << toQt(p);
    return polygon.boundingRect();
}

void fillAndStroke(QPainter& painter, const QPainterPath& path, const Annotation& annotation, Qt::PenJoinStyle join)
{
    if (annotation.fillColor)
        painter.fillPath(path, qColor(*annotation.fillColor));
    const double width = positive(annotation.lineWidth);
    if (width > 0) {
        QPen pen(qColor(annotation.strokeColor), width, Qt::SolidLine, Qt::FlatCap, join);
        pen.setMiterLimit(10);
        painter.strokePath(path, pen);
    }
}

// ---- the kinds

void drawRectangle(const Annotation& a, QPainter& painter)
{
    fillAndStroke(painter, roundedRectPath(a.frame, a.cornerRadius), a, Qt::MiterJoin);
}

void drawEllipse(const Annotation& a, QPainter& painter)
{
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    path.addEllipse(toQt(a.frame.standardized()));
    fillAndStroke(painter, path, a, Qt::RoundJoin);
}

void drawPolygon(const Annotation& a, QPainter& painter)
{
    if (a.points.size() < 3)
        return;
    fillAndStroke(painter, closedPath(a.points), a, Qt::RoundJoin);
}

// The patch comes from the base image only, so what lies below the blur in the stacking order is covered.
void drawBlur(const Annotation& a, QPainter& painter, const QImage& base, BlurCache* cache)
{
    const std::optional<BlurRenderer::Patch> patch = BlurRenderer::render(a, base, cache);
    if (!patch)
        return;
    painter.save();
    // The region ends at the image's edge where the frame reaches past it; the rounded frame does the rest.
    painter.setClipRect(toQt(patch->region), Qt::IntersectClip);
    // Filling the rounded frame with the patch as a texture keeps the corners antialiased, which a clip path
    // would not.
    QBrush texture(patch->image);
    texture.setTransform(QTransform::fromTranslate(patch->region.x, patch->region.y));
    painter.fillPath(roundedRectPath(a.frame, a.cornerRadius), texture);
    painter.restore();
}

void drawSticker(const Annotation& a, QPainter& painter)
{
    if (!a.sticker)
        return;
    if (a.sticker->isEmoji()) {
        drawEmoji(a.sticker->emojiText(), a.frame, painter);
        return;
    }
    const auto& sticker = a.sticker->stickerImage();
    if (!sticker || sticker->image().isNull())
        return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(toQt(a.frame.standardized()), sticker->image());
}

// ---- transparency layers

// How far an annotation's paint can reach beyond its geometry, in its own (unrotated) user space. The layer of
// a translucent annotation is cut to this, so it must not be too tight.
QRectF contentBounds(const Annotation& a)
{
    const QRectF frame = toQt(a.frame.standardized());
    const double line = positive(a.lineWidth);
    switch (a.kind) {
    case AnnotationKind::rectangle:
        return frame.adjusted(-line, -line, line, line); // mitred corners reach past half the width
    case AnnotationKind::ellipse:
        return frame.adjusted(-line, -line, line, line);
    case AnnotationKind::polygon:
        return boundsOf(a.points).adjusted(-line, -line, line, line);
    case AnnotationKind::arrow: {
        const std::optional<ArrowShape> shape = a.arrowShape();
        if (!shape)
            return {};
        const double outline = positive(a.outlineWidth);
        return boundsOf(shape->body).united(boundsOf(shape->head)).adjusted(-outline, -outline, outline, outline);
    }
    case AnnotationKind::text: {
        // Glyphs may overhang their measured box (accents, italics), and the outline surrounds them.
        const double reach = positive(a.outlineWidth) + positive(a.fontSize) * 0.5;
        return frame.united(toQt(textRect(a))).adjusted(-reach, -reach, reach, reach);
    }
    case AnnotationKind::blur:
        return frame;
    case AnnotationKind::sticker: {
        // Colour emoji bitmaps may be drawn a little outside their measured box.
        const double reach = std::max(frame.width(), frame.height()) * 0.25;
        return frame.adjusted(-reach, -reach, reach, reach);
    }
    }
    return frame;
}

// The arrow's shadow: offset and blur grow with the painter's scale k (device pixels per image pixel), so the
// shadow keeps its size relative to the picture at every zoom. A shadow "blur" in the classic 2-D drawing
// model is about twice the gaussian's sigma.
ShadowPainter::Shadow arrowShadow(const Annotation& a, const QTransform& transform)
{
    const double k = std::hypot(transform.m11(), transform.m12());
    const double width = positive(a.lineWidth);
    ShadowPainter::Shadow shadow;
    shadow.offset = QPointF(0, k * std::max(width * 0.5, 1.0));
    shadow.sigma = k * std::max(width * 1.1, 2.0) * 0.5;
    shadow.color = QColor::fromRgbF(0, 0, 0, 0.32f);
    return shadow;
}

ShadowPainter::Shadow arrowShadow(const Annotation& a, const QPainter& painter)
{
    return arrowShadow(a, painter.deviceTransform());
}

// The rotation draw() applies about the frame's centre, as a transform of image pixels.
QTransform rotationAboutCentre(const Annotation& a)
{
    if (!Capabilities::canRotate(a.kind) || a.rotation == 0 || !std::isfinite(a.rotation))
        return {};
    const Point centre = a.frame.standardized().center();
    QTransform t;
    t.translate(centre.x, centre.y);
    t.rotate(a.rotation * 180 / std::numbers::pi);
    t.translate(-centre.x, -centre.y);
    return t;
}

void rotateAboutCentre(const Annotation& a, QPainter& painter)
{
    if (!Capabilities::canRotate(a.kind) || a.rotation == 0 || !std::isfinite(a.rotation))
        return;
    const Point centre = a.frame.standardized().center();
    painter.translate(centre.x, centre.y);
    painter.rotate(a.rotation * 180 / std::numbers::pi);
    painter.translate(-centre.x, -centre.y);
}

bool hasDrawableGeometry(const Annotation& a)
{
    if (Capabilities::usesFrame(a.kind))
        return a.frame.isFinite();
    return isFinite(a.points);
}

void drawContent(const Annotation& a, QPainter& painter, const QImage& base, BlurCache* cache, bool drawGlyphs)
{
    switch (a.kind) {
    case AnnotationKind::rectangle:
        drawRectangle(a, painter);
        break;
    case AnnotationKind::ellipse:
        drawEllipse(a, painter);
        break;
    case AnnotationKind::polygon:
        drawPolygon(a, painter);
        break;
    case AnnotationKind::arrow:
        drawArrow(a, painter);
        break;
    case AnnotationKind::text:
        drawText(a, painter, drawGlyphs);
        break;
    case AnnotationKind::blur:
        drawBlur(a, painter, base, cache);
        break;
    case AnnotationKind::sticker:
        drawSticker(a, painter);
        break;
    }
}

// ---- the whole picture

enum class Base { paint, alreadyThere };

void compose(const EditorState& state, QPainter& painter, const IdSet& hiding, const IdSet& glyphsHidden,
             BlurCache* cache, Base base)
{
    const Rect canvas = state.canvasRect();
    if (!canvas.isFinite())
        return;
    painter.save();
    painter.translate(-canvas.minX(), -canvas.minY());
    if (base == Base::paint)
        drawBase(state, painter);
    for (const Annotation& annotation : state.annotations) {
        if (hiding.contains(annotation.id))
            continue;
        draw(annotation, painter, state.image, cache, !glyphsHidden.contains(annotation.id));
    }
    painter.restore();
}

struct Bitmap {
    QSize size;
    double scale = 1;
    bool opaque = false;
};

bool withinLimits(double width, double height)
{
    return width <= maximumSide && height <= maximumSide && width * height <= double(maximumPixels);
}

std::optional<Bitmap> bitmapFor(const EditorState& state, const Rect& canvas)
{
    if (!canvas.isFinite())
        return std::nullopt;
    // An exact output size: the canvas already has its ratio, so one scale fits both sides.
    if (const auto pixels = state.ratio.pixelSize(); pixels && canvas.width > 0) {
        if (!withinLimits(pixels->first, pixels->second))
            return std::nullopt;
        return Bitmap{QSize(pixels->first, pixels->second), pixels->first / canvas.width, true};
    }
    const double width = std::round(canvas.width);
    const double height = std::round(canvas.height);
    if (!(width >= 1) || !(height >= 1) || !withinLimits(width, height))
        return std::nullopt;
    return Bitmap{QSize(int(width), int(height)), 1, false};
}

bool isWholePixels(const Rect& r)
{
    return r.x == std::floor(r.x) && r.y == std::floor(r.y) && r.width == std::floor(r.width)
        && r.height == std::floor(r.height);
}

// When the canvas is exactly the visible part of the base image, the picture starts as a copy of those pixels:
// the same result as drawing them onto a transparent bitmap, at the cost of a memcpy.
std::optional<QImage> copyOfVisibleBase(const EditorState& state, const Rect& canvas, const Bitmap& bitmap)
{
    const Rect visible = state.visibleRect();
    const QImage::Format format = state.image.format();
    if (bitmap.opaque || bitmap.scale != 1 || !(canvas == visible) || !isWholePixels(visible)
        || (format != QImage::Format_ARGB32_Premultiplied && format != QImage::Format_RGB32))
        return std::nullopt;
    const QRect source(int(visible.x), int(visible.y), int(visible.width), int(visible.height));
    if (source.size() != bitmap.size)
        return std::nullopt;
    // An opaque pixel of Format_RGB32 is already a valid premultiplied pixel.
    QImage copy = LargeAllocation::image(bitmap.size, QImage::Format_ARGB32_Premultiplied);
    if (copy.isNull())
        return std::nullopt;
    const std::size_t rowBytes = std::size_t(source.width()) * 4;
    for (int y = 0; y < source.height(); ++y)
        std::memcpy(copy.scanLine(y), state.image.constScanLine(source.y() + y) + std::size_t(source.x()) * 4, rowBytes);
    return copy;
}

void prepare(QPainter& painter)
{
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);
}

} // namespace

std::optional<QImage> makeImage(const EditorState& state, BlurCache* cache)
{
    const Rect canvas = state.canvasRect();
    const std::optional<Bitmap> bitmap = bitmapFor(state, canvas);
    if (!bitmap)
        return std::nullopt;

    if (std::optional<QImage> image = copyOfVisibleBase(state, canvas, *bitmap)) {
        QPainter painter(&*image);
        prepare(painter);
        compose(state, painter, {}, {}, cache, Base::alreadyThere);
        painter.end();
        return image;
    }

    QImage image = LargeAllocation::image(bitmap->size, bitmap->opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return std::nullopt;
    // An exact-size picture is opaque: a translucent padding colour shows over white.
    image.fill(bitmap->opaque ? Qt::white : Qt::transparent);
    QPainter painter(&image);
    prepare(painter);
    painter.scale(bitmap->scale, bitmap->scale);
    compose(state, painter, {}, {}, cache, Base::paint);
    painter.end();
    return image;
}

void draw(const EditorState& state, QPainter& painter, const IdSet& hiding, const IdSet& glyphsHidden, BlurCache* cache)
{
    compose(state, painter, hiding, glyphsHidden, cache, Base::paint);
}

void drawBase(const EditorState& state, QPainter& painter, const QImage& reducedBase)
{
    const Rect canvas = state.canvasRect();
    const Rect visible = state.visibleRect();
    painter.save();
    // Padding and the area the ratio adds share the padding colour, even with padding switched off.
    if (!(canvas == visible))
        painter.fillRect(toQt(canvas), qColor(state.padding.color));
    painter.setClipRect(toQt(visible), Qt::IntersectClip);
    // A target rectangle in image pixels, never a point: drawn at a point, an image with a device pixel ratio
    // would shrink by that ratio.
    const QRectF whole(0, 0, state.image.width(), state.image.height());
    painter.drawImage(whole, reducedBase.isNull() ? state.image : reducedBase);
    painter.restore();
}

QRectF deviceBounds(const Annotation& annotation, const QTransform& imageToDevice)
{
    if (annotation.opacity <= 0 || !hasDrawableGeometry(annotation))
        return {};
    const QTransform transform = rotationAboutCentre(annotation) * imageToDevice;
    double reach = 2; // antialiased edges
    if (annotation.kind == AnnotationKind::arrow)
        reach += ShadowPainter::reach(arrowShadow(annotation, transform));
    return transform.mapRect(contentBounds(annotation)).adjusted(-reach, -reach, reach, reach);
}

Rect textRect(const Annotation& a)
{
    const Size measured = TextLayout::textSize(a.text, a.fontSize, a.bold);
    const Point centre = a.frame.standardized().center();
    return {centre.x - measured.width * 0.5, centre.y - measured.height * 0.5, measured.width, measured.height};
}

void draw(const Annotation& annotation, QPainter& painter, const QImage& base, BlurCache* cache, bool drawGlyphs)
{
    // Nothing of a fully transparent object shows. An opacity that is not a number draws the object opaque.
    if (annotation.opacity <= 0 || !hasDrawableGeometry(annotation))
        return;
    painter.save();
    rotateAboutCentre(annotation, painter);
    if (annotation.opacity < 1) {
        // One layer for the whole object, faded as one: fill, stroke, outline and shadow never darken where
        // they overlap.
        const double reach = annotation.kind == AnnotationKind::arrow ? ShadowPainter::reach(arrowShadow(annotation, painter))
                                                                   : 0;
        TransparencyLayer layer(painter, contentBounds(annotation), reach);
        drawContent(annotation, layer.painter(), base, cache, drawGlyphs);
        layer.compose(annotation.opacity);
    } else {
        drawContent(annotation, painter, base, cache, drawGlyphs);
    }
    painter.restore();
}

void drawArrow(const Annotation& annotation, QPainter& painter)
{
    const std::optional<ArrowShape> shape = annotation.arrowShape();
    if (!shape || !isFinite(shape->body) || !isFinite(shape->head))
        return;
    const QPainterPath body = closedPath(shape->body);
    const QPainterPath head = closedPath(shape->head);
    const double outline = positive(annotation.outlineWidth);
    const auto paintArrow = [&](QPainter& p) {
        if (annotation.outlineColor && outline > 0) {
            // Half of the outline lies under the arrow, so `outlineWidth` of it shows.
            const QColor colour = qColor(*annotation.outlineColor);
            for (const QPainterPath* part : {&body, &head}) {
                p.fillPath(*part, colour);
                p.fillPath(StrokeOutline::around(*part, outline), colour);
            }
        }
        const QColor fill = qColor(annotation.strokeColor);
        p.fillPath(body, fill);
        p.fillPath(head, fill);
    };
    // The finished arrow casts one shadow, rather than each of its parts casting its own. Drawing over its
    // shadow gives what a layer with that shadow would, without a full-size layer.
    painter.save();
    ShadowPainter::draw(painter, contentBounds(annotation), arrowShadow(annotation, painter), paintArrow);
    paintArrow(painter);
    painter.restore();
}

void drawText(const Annotation& annotation, QPainter& painter, bool drawGlyphs)
{
    const double fontSize = annotation.fontSize;
    if (annotation.fillColor)
        painter.fillPath(roundedRectPath(annotation.frame, positive(fontSize) * 0.25), qColor(*annotation.fillColor));

    const Rect glyphBox = textRect(annotation);
    const double outline = positive(annotation.outlineWidth);
    if (annotation.outlineColor && outline > 0) {
        // Drawn whether or not the glyphs are: the in-place editor shows its own glyphs over the outline.
        // Laid out at the origin, so that one outline serves wherever the box is moved.
        const QPainterPath glyphs = TextLayout::glyphPath(annotation.text, fontSize, annotation.bold, Rect(0, 0, 0, 0));
        painter.save();
        painter.translate(glyphBox.minX(), glyphBox.minY());
        painter.fillPath(StrokeOutline::around(glyphs, outline), qColor(*annotation.outlineColor));
        painter.restore();
    }
    if (drawGlyphs) {
        // The glyphs cover the inner half of the outline stroke. Drawn as text, so colour emoji keep their colours.
        painter.save();
        painter.setPen(qColor(annotation.strokeColor));
        TextLayout::draw(painter, annotation.text, fontSize, annotation.bold, glyphBox);
        painter.restore();
    }
}

void drawEmoji(const QString& emoji, const Rect& frame, QPainter& painter)
{
    const QSizeF measured = StickerSource::emojiSize(emoji);
    const Rect box = frame.standardized();
    if (!(measured.width() > 0) || !(measured.height() > 0) || !box.isFinite() || !(box.width > 0) || !(box.height > 0))
        return;
    const double k = std::min(box.width / measured.width(), box.height / measured.height());
    painter.save();
    painter.translate(box.midX(), box.midY());
    painter.scale(k, k);
    StickerSource::drawEmoji(painter, emoji, QPointF(-measured.width() * 0.5, -measured.height() * 0.5));
    painter.restore();
}

} // namespace lumivex::Renderer
