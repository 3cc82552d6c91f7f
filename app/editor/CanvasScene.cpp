#include "app/editor/CanvasScene.h"

#include "core/geometry/QtAdapters.h"
#include "core/document/BlurCache.h"
#include "core/render/Renderer.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace lumivex {

namespace {

// The part of a box of [from, to) that a gaussian of sigma spreads onto position x (1 well inside, 0 far out).
double blurredStep(double x, double from, double to, double sigma)
{
    const double k = 1.0 / (sigma * std::sqrt(2.0));
    return 0.5 * (std::erf((x - from) * k) - std::erf((x - to) * k));
}

std::vector<double> blurredProfile(int samples, double margin, double length, double sigma, qreal ratio)
{
    std::vector<double> profile(std::size_t(std::max(samples, 0)));
    for (int i = 0; i < samples; ++i)
        profile[std::size_t(i)] = blurredStep((i + 0.5) / ratio, margin, margin + length, sigma);
    return profile;
}

int indexOf(const std::vector<Annotation>& annotations, const std::optional<QUuid>& id)
{
    if (!id)
        return -1;
    const auto found = std::find_if(annotations.begin(), annotations.end(),
                                    [&](const Annotation& a) { return a.id == *id; });
    return found == annotations.end() ? -1 : int(found - annotations.begin());
}

} // namespace

CanvasScene::LayerKey CanvasScene::keyFor(const Frame& frame, std::vector<Annotation> annotations) const
{
    QSet<QUuid> hidden;
    for (const Annotation& a : annotations) {
        if (frame.glyphsHidden.contains(a.id))
            hidden.insert(a.id);
    }
    return {frame.transform,
            frame.viewSize,
            frame.devicePixelRatio,
            frame.backdrop.rgba(),
            frame.state.image.cacheKey(),
            frame.state.padding,
            frame.state.ratio,
            frame.state.cropRect,
            std::move(annotations),
            std::move(hidden)};
}

void CanvasScene::paint(QPainter& painter, const Frame& frame)
{
    if (frame.viewSize.isEmpty())
        return;
    const double zoom = frame.transform.scale * frame.devicePixelRatio;
    prepareBase(frame.state.image, zoom);

    const auto& annotations = frame.state.annotations;
    const int active = indexOf(annotations, frame.active);
    const auto split = active < 0 ? annotations.end() : annotations.begin() + active;
    std::vector<Annotation> below(annotations.begin(), split);
    std::vector<Annotation> above;
    if (active >= 0)
        above.assign(split + 1, annotations.end());

    buildLower(frame, std::move(below));
    buildUpper(frame, std::move(above));

    painter.drawImage(QPointF(0, 0), m_lower);
    if (active >= 0) {
        painter.save();
        painter.setClipRect(frame.transform.cardRect(frame.state.canvasRect()), Qt::IntersectClip);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.setTransform(frame.transform.imageToView(), true);
        drawActive(painter, frame, annotations[std::size_t(active)]);
        painter.restore();
    }
    if (!m_upper.isNull())
        painter.drawImage(QPointF(0, 0), m_upper);
}

void CanvasScene::prepareBase(const QImage& base, double zoom)
{
    const double factor = std::isfinite(zoom) && zoom > 0 ? std::min(zoom, 1.0) : 1.0;
    const QSize wanted(std::max(1, int(std::lround(base.width() * factor))),
                       std::max(1, int(std::lround(base.height() * factor))));
    if (m_scaledBaseSource == base.cacheKey() && m_scaledBase.size() == wanted)
        return;
    m_scaledBaseSource = base.cacheKey();
    if (base.isNull() || factor >= 1 || wanted == base.size()) {
        m_scaledBase = base;
        m_baseFactor = 1;
        return;
    }
    m_scaledBase = base.scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    m_baseFactor = double(wanted.width()) / base.width();
}

QImage CanvasScene::newLayer(const Frame& frame) const
{
    const QSize pixels(int(std::ceil(frame.viewSize.width() * frame.devicePixelRatio)),
                       int(std::ceil(frame.viewSize.height() * frame.devicePixelRatio)));
    QImage layer(pixels, QImage::Format_ARGB32_Premultiplied);
    layer.setDevicePixelRatio(frame.devicePixelRatio);
    return layer;
}

void CanvasScene::buildLower(const Frame& frame, std::vector<Annotation> below)
{
    LayerKey key = keyFor(frame, std::move(below));
    if (m_lowerKey == key)
        return;
    ++m_layerBuilds;
    m_lower = newLayer(frame);
    m_lower.fill(frame.backdrop);
    QPainter painter(&m_lower);
    drawCard(painter, frame);
    painter.setClipRect(frame.transform.cardRect(frame.state.canvasRect()));
    drawBase(painter, frame);
    drawAnnotations(painter, frame, key.annotations);
    m_lowerKey = std::move(key);
}

void CanvasScene::buildUpper(const Frame& frame, std::vector<Annotation> above)
{
    if (above.empty()) {
        m_upper = QImage();
        m_upperKey.reset();
        return;
    }
    LayerKey key = keyFor(frame, std::move(above));
    if (m_upperKey == key)
        return;
    ++m_layerBuilds;
    m_upper = newLayer(frame);
    m_upper.fill(Qt::transparent);
    QPainter painter(&m_upper);
    painter.setClipRect(frame.transform.cardRect(frame.state.canvasRect()));
    drawAnnotations(painter, frame, key.annotations);
    m_upperKey = std::move(key);
}

void CanvasScene::drawCard(QPainter& painter, const Frame& frame)
{
    const QRectF card = frame.transform.cardRect(frame.state.canvasRect());
    if (card.isEmpty())
        return;
    const QImage& shadow = cardShadow(card.size(), frame.devicePixelRatio);
    const double margin = 3 * cardShadowSigma;
    painter.drawImage(card.topLeft() + QPointF(-margin, -margin + cardShadowOffset), shadow);
    painter.fillRect(card, Qt::white);
}

const QImage& CanvasScene::cardShadow(QSizeF cardSize, qreal devicePixelRatio)
{
    if (m_shadowCard == cardSize && m_shadowRatio == devicePixelRatio)
        return m_shadow;
    // A blurred rectangle is the product of two blurred steps, one per axis: exact and cheap to compute.
    const double margin = 3 * cardShadowSigma;
    const int width = int(std::ceil((cardSize.width() + 2 * margin) * devicePixelRatio));
    const int height = int(std::ceil((cardSize.height() + 2 * margin) * devicePixelRatio));
    const auto across = blurredProfile(width, margin, cardSize.width(), cardShadowSigma, devicePixelRatio);
    const auto down = blurredProfile(height, margin, cardSize.height(), cardShadowSigma, devicePixelRatio);
    const double alpha = cardShadowColour().alphaF();
    m_shadow = QImage(std::max(width, 1), std::max(height, 1), QImage::Format_ARGB32_Premultiplied);
    m_shadow.fill(Qt::transparent);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(m_shadow.scanLine(y));
        for (int x = 0; x < width; ++x)
            row[x] = qRgba(0, 0, 0, int(std::lround(255 * alpha * across[std::size_t(x)] * down[std::size_t(y)])));
    }
    m_shadow.setDevicePixelRatio(devicePixelRatio);
    m_shadowCard = cardSize;
    m_shadowRatio = devicePixelRatio;
    return m_shadow;
}

void CanvasScene::drawBase(QPainter& painter, const Frame& frame)
{
    painter.save();
    painter.setTransform(frame.transform.imageToView(), true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    // The reduced copy has about one pixel per device pixel, so drawing it costs little more than a copy.
    Renderer::drawBase(frame.state, painter, m_baseFactor < 1 ? m_scaledBase : QImage());
    painter.restore();
}

void CanvasScene::drawAnnotations(QPainter& painter, const Frame& frame,
                                  const std::vector<Annotation>& annotations) const
{
    if (annotations.empty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setTransform(frame.transform.imageToView(), true);
    for (const Annotation& annotation : annotations)
        Renderer::draw(annotation, painter, frame.state.image, frame.blurCache,
                       !frame.glyphsHidden.contains(annotation.id));
    painter.restore();
}

void CanvasScene::drawActive(QPainter& painter, const Frame& frame, const Annotation& annotation) const
{
    if (annotation.kind != AnnotationKind::blur || m_baseFactor >= 1) {
        Renderer::draw(annotation, painter, frame.state.image, frame.blurCache,
                       !frame.glyphsHidden.contains(annotation.id));
        return;
    }
    // A blur region that moves needs a new patch on every frame. Blurring the reduced base instead of the
    // full-size one looks the same at this zoom and costs a fraction; the exact patch is drawn once the
    // region stops changing and joins a cached layer.
    const double f = m_baseFactor;
    Annotation reduced = annotation;
    reduced.frame = Rect(annotation.frame.x * f, annotation.frame.y * f, annotation.frame.width * f,
                         annotation.frame.height * f);
    reduced.cornerRadius *= f;
    reduced.blurAmount *= f;
    painter.save();
    painter.scale(1 / f, 1 / f);
    Renderer::draw(reduced, painter, m_scaledBase, nullptr, true);
    painter.restore();
}

} // namespace lumivex
