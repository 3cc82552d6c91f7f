#pragma once

#include "app/editor/CanvasTransform.h"
#include "core/document/CanvasPadding.h"
#include "core/document/CanvasRatio.h"
#include "core/document/EditorState.h"
#include "core/geometry/Rect.h"
#include "core/model/Annotation.h"

#include <QColor>
#include <QHash>
#include <QImage>
#include <QSet>
#include <QSize>
#include <QUuid>

#include <optional>
#include <vector>

class QPainter;

namespace lumivex {

class BlurCache;

// The picture part of the canvas: the backdrop, the card with its shadow, and the document drawn by the
// renderer at the current zoom. Repainting a big capture from scratch on every frame of a gesture is far too
// slow, so it keeps what does not change between frames:
// - the "ground": the backdrop, the card and the base image at the zoom. The reduction of a large base comes
//   from a pyramid of halved copies, so a new zoom (a resize) reduces a copy at most twice its final size;
// - every object drawn alone at the zoom into a small transparent picture of its own (a sprite), kept while the
//   object, the zoom and the view stay the same;
// - a layer with the ground and everything below the object being changed (the "active" one: dragged, edited
//   or drafted), and a transparent layer with everything above it, both put together from the sprites.
// A frame then draws the lower layer, the active object and the upper layer. Source-over composition is
// associative, so this gives the same picture as drawing everything in order; sprites sit on whole device
// pixels, so each object is rasterised exactly as it would be in place.
class CanvasScene {
public:
    struct Frame {
        const EditorState& state;
        CanvasTransform transform;
        QSize viewSize;
        qreal devicePixelRatio = 1;
        QColor backdrop;
        const QSet<QUuid>& glyphsHidden;
        // The object that changes from frame to frame, if any.
        std::optional<QUuid> active;
        BlurCache* blurCache = nullptr;
    };

    void paint(QPainter& painter, const Frame& frame);

    // How often the cached layers were put together; a frame in the middle of a drag puts together none.
    int layerBuilds() const { return m_layerBuilds; }
    // How often an object was drawn into its sprite; moving one object redraws only that one.
    int spriteBuilds() const { return m_spriteBuilds; }

    static QColor cardShadowColour() { return QColor::fromRgbF(0, 0, 0, 0.35); }
    // Gaussian standard deviation of the card's shadow (a blur radius of 14 points) and its downward offset.
    static constexpr double cardShadowSigma = 7;
    static constexpr double cardShadowOffset = 3;

private:
    // Everything that decides how the ground looks.
    struct GroundKey {
        CanvasTransform transform;
        QSize viewSize;
        qreal devicePixelRatio = 0;
        QRgb backdrop = 0;
        qint64 imageKey = 0;
        CanvasPadding padding;
        CanvasRatio ratio;
        std::optional<Rect> cropRect;
        bool operator==(const GroundKey&) const = default;
    };
    // Everything that decides how a layer looks: its ground (for the lower one) and its objects in order.
    struct LayerKey {
        GroundKey ground;
        std::vector<Annotation> annotations;
        QSet<QUuid> glyphsHidden;
        bool operator==(const LayerKey&) const = default;
    };
    struct Sprite {
        Annotation annotation;
        CanvasTransform transform;
        qreal devicePixelRatio = 0;
        qint64 imageKey = 0;
        bool glyphs = true;
        QImage image; // device pixels, with the frame's device pixel ratio
        QPoint topLeft; // in device pixels of the view
        bool used = false;
    };

    struct SpriteJob {
        const Annotation* annotation;
        QImage image;
        QPoint topLeft;
    };

    GroundKey groundKeyFor(const Frame& frame) const;
    LayerKey keyFor(const Frame& frame, std::vector<Annotation> annotations) const;
    bool groundIsCurrent(const Frame& frame) const;
    static double baseFactor(const Frame& frame);
    void reduceBase(const Frame& frame);
    void prepare(const Frame& frame, const std::vector<Annotation>* lower, const std::vector<Annotation>* upper);
    void buildGround(const Frame& frame);
    void buildLower(const Frame& frame, LayerKey key);
    void buildUpper(const Frame& frame, std::optional<LayerKey> key);
    void markUsed(const std::vector<Annotation>& annotations);
    void drawSprites(QPainter& painter, const Frame& frame, const std::vector<Annotation>& annotations,
                     bool opaqueBelow);
    bool spriteIsCurrent(const Frame& frame, const Annotation& annotation) const;
    const Sprite& sprite(const Frame& frame, const Annotation& annotation);
    // Draws one object alone into a picture covering what it can reach; its place goes to `topLeft`. Safe on any
    // thread when `blurCache` is null.
    static QImage renderSprite(const Frame& frame, const Annotation& annotation, BlurCache* blurCache, QPoint* topLeft);
    const Sprite& store(const Frame& frame, const Annotation& annotation, QImage image, QPoint topLeft);
    void dropUnusedSprites();
    void drawCard(QPainter& painter, const Frame& frame);
    void drawBase(QPainter& painter, const Frame& frame);
    void drawActive(QPainter& painter, const Frame& frame, const Annotation& annotation) const;
    const QImage& reducedBase(const QImage& base, double factor);
    const QImage& cardShadow(QSizeF cardSize, qreal devicePixelRatio);
    QImage newLayer(const Frame& frame) const;

    QImage m_ground;
    std::optional<GroundKey> m_groundKey;
    QImage m_lower;
    QImage m_upper;
    std::optional<LayerKey> m_lowerKey;
    std::optional<LayerKey> m_upperKey;
    int m_layerBuilds = 0;
    QHash<QUuid, Sprite> m_sprites;
    int m_spriteBuilds = 0;

    // Halved copies of the base image: [0] is half its size, [1] a quarter, and so on, as far as needed.
    std::vector<QImage> m_pyramid;
    qint64 m_pyramidSource = 0;
    // The base image reduced to the zoom (or the base itself when the zoom enlarges it).
    QImage m_scaledBase;
    double m_baseFactor = 1; // scaled-base pixels per image pixel
    bool m_baseReduced = false; // prepare() already reduced the base for the next ground

    QImage m_shadow;
    QSizeF m_shadowCard;
    qreal m_shadowRatio = 0;
};

} // namespace lumivex
