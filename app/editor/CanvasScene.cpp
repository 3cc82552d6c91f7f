#include "app/editor/CanvasScene.h"

#include "core/geometry/QtAdapters.h"
#include "core/document/BlurCache.h"
#include "core/render/Renderer.h"

#include <QPainter>

#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <numeric>
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

CanvasScene::GroundKey CanvasScene::groundKeyFor(const Frame& frame) const
{
    return {frame.transform,       frame.viewSize,        frame.devicePixelRatio,  frame.backdrop.rgba(),
            frame.state.image.cacheKey(), frame.state.padding, frame.state.ratio, frame.state.cropRect};
}

CanvasScene::LayerKey CanvasScene::keyFor(const Frame& frame, std::vector<Annotation> annotations) const
{
    QSet<QUuid> hidden;
    for (const Annotation& a : annotations) {
        if (frame.glyphsHidden.contains(a.id))
            hidden.insert(a.id);
    }
    return {groundKeyFor(frame), std::move(annotations), std::move(hidden)};
}

void CanvasScene::paint(QPainter& painter, const Frame& frame)
{
    if (frame.viewSize.isEmpty())
        return;
    const auto& annotations = frame.state.annotations;
    const int active = indexOf(annotations, frame.active);
    const auto split = active < 0 ? annotations.end() : annotations.begin() + active;
    std::vector<Annotation> below(annotations.begin(), split);
    std::vector<Annotation> above;
    if (active >= 0)
        above.assign(split + 1, annotations.end());

    LayerKey lowerKey = keyFor(frame, std::move(below));
    std::optional<LayerKey> upperKey;
    if (!above.empty())
        upperKey = keyFor(frame, std::move(above));
    prepare(frame, m_lowerKey == lowerKey ? nullptr : &lowerKey.annotations,
            !upperKey || m_upperKey == upperKey ? nullptr : &upperKey->annotations);
    buildGround(frame);
    buildLower(frame, std::move(lowerKey));
    buildUpper(frame, std::move(upperKey));
    dropUnusedSprites();

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

const QImage& CanvasScene::reducedBase(const QImage& base, double factor)
{
    if (m_pyramidSource != base.cacheKey()) {
        m_pyramid.clear();
        m_pyramidSource = base.cacheKey();
    }
    // The smallest copy still at least as large as wanted: reducing it costs a fraction of reducing the base,
    // and box-filtering a copy that was itself box-filtered by halves looks the same at this size.
    const QImage* source = &base;
    for (std::size_t level = 0;; ++level) {
        const double halved = 1.0 / double(qint64(2) << level);
        if (halved < factor || source->width() < 4 || source->height() < 4)
            break;
        if (m_pyramid.size() <= level)
            m_pyramid.push_back(source->scaled(std::max(1, source->width() / 2), std::max(1, source->height() / 2),
                                               Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        source = &m_pyramid[level];
    }
    const QSize wanted(std::max(1, int(std::lround(base.width() * factor))),
                       std::max(1, int(std::lround(base.height() * factor))));
    m_scaledBase = wanted == source->size() ? *source
                                            : source->scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return m_scaledBase;
}

QImage CanvasScene::newLayer(const Frame& frame) const
{
    const QSize pixels(int(std::ceil(frame.viewSize.width() * frame.devicePixelRatio)),
                       int(std::ceil(frame.viewSize.height() * frame.devicePixelRatio)));
    QImage layer(pixels, QImage::Format_ARGB32_Premultiplied);
    layer.setDevicePixelRatio(frame.devicePixelRatio);
    return layer;
}

bool CanvasScene::groundIsCurrent(const Frame& frame) const
{
    return m_groundKey == groundKeyFor(frame);
}

double CanvasScene::baseFactor(const Frame& frame)
{
    const double zoom = frame.transform.scale * frame.devicePixelRatio;
    return std::isfinite(zoom) && zoom > 0 ? std::min(zoom, 1.0) : 1.0;
}

void CanvasScene::reduceBase(const Frame& frame)
{
    const QImage& base = frame.state.image;
    const double factor = baseFactor(frame);
    if (base.isNull() || factor >= 1) {
        m_scaledBase = QImage();
        m_baseFactor = 1;
    } else {
        m_baseFactor = double(reducedBase(base, factor).width()) / base.width();
    }
}

void CanvasScene::buildGround(const Frame& frame)
{
    GroundKey key = groundKeyFor(frame);
    if (m_groundKey == key)
        return;
    if (!m_baseReduced)
        reduceBase(frame);
    m_baseReduced = false;
    m_ground = newLayer(frame);
    m_ground.fill(frame.backdrop);
    QPainter painter(&m_ground);
    drawCard(painter, frame);
    painter.setClipRect(frame.transform.cardRect(frame.state.canvasRect()));
    drawBase(painter, frame);
    m_groundKey = std::move(key);
}

void CanvasScene::prepare(const Frame& frame, const std::vector<Annotation>* lower, const std::vector<Annotation>* upper)
{
    // Everything a new frame needs drawn afresh, each piece on its own: the reduced base and the sprites that
    // are out of date. On a resize that is every sprite; they are drawn on all cores at once. Blur regions
    // draw through the document's blur cache, which is not shared between threads, so they stay here.
    std::vector<SpriteJob> jobs;
    const auto collect = [&](const std::vector<Annotation>* annotations, bool opaqueBelow) {
        if (!annotations)
            return;
        for (const Annotation& a : *annotations) {
            if ((opaqueBelow && a.kind == AnnotationKind::text) || a.kind == AnnotationKind::blur || spriteIsCurrent(frame, a))
                continue;
            jobs.push_back({&a, {}, {}});
        }
    };
    collect(lower, true);
    collect(upper, false);
    const bool reduce = !groundIsCurrent(frame);
    if (jobs.empty() && !reduce)
        return;
    std::vector<int> work(jobs.size() + (reduce ? 1 : 0));
    std::iota(work.begin(), work.end(), 0);
    QtConcurrent::blockingMap(work, [&](int index) {
        if (index == int(jobs.size())) {
            reduceBase(frame);
            return;
        }
        SpriteJob& job = jobs[std::size_t(index)];
        job.image = renderSprite(frame, *job.annotation, nullptr, &job.topLeft);
    });
    m_baseReduced = reduce;
    for (SpriteJob& job : jobs)
        store(frame, *job.annotation, std::move(job.image), job.topLeft);
}

void CanvasScene::buildLower(const Frame& frame, LayerKey key)
{
    if (m_lowerKey == key) {
        markUsed(key.annotations);
        return;
    }
    ++m_layerBuilds;
    m_lower = m_ground.copy();
    QPainter painter(&m_lower);
    drawSprites(painter, frame, key.annotations, true);
    m_lowerKey = std::move(key);
}

void CanvasScene::buildUpper(const Frame& frame, std::optional<LayerKey> key)
{
    if (!key) {
        m_upper = QImage();
        m_upperKey.reset();
        return;
    }
    if (m_upperKey == key) {
        markUsed(key->annotations);
        return;
    }
    ++m_layerBuilds;
    m_upper = newLayer(frame);
    m_upper.fill(Qt::transparent);
    QPainter painter(&m_upper);
    drawSprites(painter, frame, key->annotations, false);
    m_upperKey = std::move(key);
}

void CanvasScene::markUsed(const std::vector<Annotation>& annotations)
{
    for (const Annotation& a : annotations)
        if (auto found = m_sprites.find(a.id); found != m_sprites.end())
            found->used = true;
}

void CanvasScene::drawSprites(QPainter& painter, const Frame& frame, const std::vector<Annotation>& annotations,
                              bool opaqueBelow)
{
    if (annotations.empty())
        return;
    painter.setClipRect(frame.transform.cardRect(frame.state.canvasRect()));
    const qreal ratio = frame.devicePixelRatio;
    for (const Annotation& annotation : annotations) {
        if (opaqueBelow && annotation.kind == AnnotationKind::text) {
            // Qt corrects the gamma of glyph edges only over opaque pixels: text drawn into a transparent
            // sprite would come out a little lighter than in the saved picture, so on the opaque lower layer it
            // is drawn in place.
            m_sprites.remove(annotation.id);
            painter.save();
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.setTransform(frame.transform.imageToView(), true);
            Renderer::draw(annotation, painter, frame.state.image, frame.blurCache,
                           !frame.glyphsHidden.contains(annotation.id));
            painter.restore();
            continue;
        }
        const Sprite& drawn = sprite(frame, annotation);
        if (!drawn.image.isNull())
            painter.drawImage(QPointF(drawn.topLeft.x() / ratio, drawn.topLeft.y() / ratio), drawn.image);
    }
}

bool CanvasScene::spriteIsCurrent(const Frame& frame, const Annotation& annotation) const
{
    const auto found = m_sprites.constFind(annotation.id);
    return found != m_sprites.cend() && found->devicePixelRatio == frame.devicePixelRatio
        && found->transform == frame.transform && found->imageKey == frame.state.image.cacheKey()
        && found->glyphs == !frame.glyphsHidden.contains(annotation.id) && found->annotation == annotation;
}

const CanvasScene::Sprite& CanvasScene::sprite(const Frame& frame, const Annotation& annotation)
{
    if (spriteIsCurrent(frame, annotation)) {
        Sprite& cached = m_sprites[annotation.id];
        cached.used = true;
        return cached;
    }
    QPoint topLeft;
    QImage image = renderSprite(frame, annotation, frame.blurCache, &topLeft);
    return store(frame, annotation, std::move(image), topLeft);
}

QImage CanvasScene::renderSprite(const Frame& frame, const Annotation& annotation, BlurCache* blurCache, QPoint* topLeft)
{
    // Only what can show: the object's reach within the card.
    const qreal ratio = frame.devicePixelRatio;
    const QTransform toDevice = frame.transform.imageToView() * QTransform::fromScale(ratio, ratio);
    const QRectF card = frame.transform.cardRect(frame.state.canvasRect());
    const QRectF cardPixels(card.topLeft() * ratio, card.size() * ratio);
    const QRect area = Renderer::deviceBounds(annotation, toDevice).intersected(cardPixels).toAlignedRect();
    if (area.isEmpty())
        return {};
    QImage image(area.size(), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return {};
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setTransform(toDevice * QTransform::fromTranslate(-area.left(), -area.top()));
    Renderer::draw(annotation, painter, frame.state.image, blurCache, !frame.glyphsHidden.contains(annotation.id));
    painter.end();
    image.setDevicePixelRatio(ratio);
    *topLeft = area.topLeft();
    return image;
}

const CanvasScene::Sprite& CanvasScene::store(const Frame& frame, const Annotation& annotation, QImage image,
                                              QPoint topLeft)
{
    ++m_spriteBuilds;
    Sprite& sprite = m_sprites[annotation.id];
    sprite.annotation = annotation;
    sprite.transform = frame.transform;
    sprite.devicePixelRatio = frame.devicePixelRatio;
    sprite.imageKey = frame.state.image.cacheKey();
    sprite.glyphs = !frame.glyphsHidden.contains(annotation.id);
    sprite.image = std::move(image);
    sprite.topLeft = topLeft;
    sprite.used = true;
    return sprite;
}

void CanvasScene::dropUnusedSprites()
{
    // Objects that left the document (deleted, undone) let go of their pictures; the others wait for the next frame.
    for (auto it = m_sprites.begin(); it != m_sprites.end();) {
        if (!it->used) {
            it = m_sprites.erase(it);
        } else {
            it->used = false;
            ++it;
        }
    }
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
    // The opaque card hides the middle of its shadow (the shadow lies cardShadowOffset lower), so only a band
    // around the card's edge is worked out; a resize redraws the shadow on every frame.
    const int hiddenLeft = int(std::ceil(margin * devicePixelRatio)) + 1;
    const int hiddenRight = int(std::floor((margin + cardSize.width()) * devicePixelRatio)) - 1;
    const int hiddenTop = int(std::ceil((margin - cardShadowOffset) * devicePixelRatio)) + 1;
    const int hiddenBottom = int(std::floor((margin - cardShadowOffset + cardSize.height()) * devicePixelRatio)) - 1;
    const auto shade = [&](QRgb* row, int from, int to, double rowWeight) {
        for (int x = std::max(from, 0); x < std::min(to, width); ++x)
            row[x] = qRgba(0, 0, 0, int(std::lround(rowWeight * across[std::size_t(x)])));
    };
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(m_shadow.scanLine(y));
        const double rowWeight = 255 * alpha * down[std::size_t(y)];
        if (y > hiddenTop && y < hiddenBottom && hiddenLeft < hiddenRight) {
            shade(row, 0, hiddenLeft, rowWeight);
            shade(row, hiddenRight, width, rowWeight);
        } else {
            shade(row, 0, width, rowWeight);
        }
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
