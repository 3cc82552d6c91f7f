#pragma once

#include "app/editor/CanvasTransform.h"
#include "core/document/CanvasPadding.h"
#include "core/document/CanvasRatio.h"
#include "core/document/EditorState.h"
#include "core/geometry/Rect.h"
#include "core/model/Annotation.h"

#include <QColor>
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
// renderer at the current zoom. Repainting a big capture from scratch on every frame of a drag is far too
// slow, so it keeps what does not change between frames:
// - the base image scaled to the zoom;
// - a layer with the backdrop, the card and everything below the object being changed (the "active" one:
//   dragged, edited or drafted), and a transparent layer with everything above it.
// A frame then draws the lower layer, the active object and the upper layer. Source-over composition is
// associative, so this gives the same picture as drawing everything in order.
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

    // How often the cached layers were redrawn; a frame in the middle of a drag redraws none.
    int layerBuilds() const { return m_layerBuilds; }

    static QColor cardShadowColour() { return QColor::fromRgbF(0, 0, 0, 0.35); }
    // Gaussian standard deviation of the card's shadow (a blur radius of 14 points) and its downward offset.
    static constexpr double cardShadowSigma = 7;
    static constexpr double cardShadowOffset = 3;

private:
    // Everything that decides how a layer looks.
    struct LayerKey {
        CanvasTransform transform;
        QSize viewSize;
        qreal devicePixelRatio = 0;
        QRgb backdrop = 0;
        qint64 imageKey = 0;
        CanvasPadding padding;
        CanvasRatio ratio;
        std::optional<Rect> cropRect;
        std::vector<Annotation> annotations;
        QSet<QUuid> glyphsHidden;
        bool operator==(const LayerKey&) const = default;
    };

    LayerKey keyFor(const Frame& frame, std::vector<Annotation> annotations) const;
    void prepareBase(const QImage& base, double zoom);
    void buildLower(const Frame& frame, std::vector<Annotation> below);
    void buildUpper(const Frame& frame, std::vector<Annotation> above);
    void drawCard(QPainter& painter, const Frame& frame);
    void drawBase(QPainter& painter, const Frame& frame);
    void drawAnnotations(QPainter& painter, const Frame& frame, const std::vector<Annotation>& annotations) const;
    void drawActive(QPainter& painter, const Frame& frame, const Annotation& annotation) const;
    const QImage& cardShadow(QSizeF cardSize, qreal devicePixelRatio);
    QImage newLayer(const Frame& frame) const;

    QImage m_lower;
    QImage m_upper;
    std::optional<LayerKey> m_lowerKey;
    std::optional<LayerKey> m_upperKey;
    int m_layerBuilds = 0;

    // The base image reduced to the zoom (or the base itself when the zoom enlarges it).
    QImage m_scaledBase;
    qint64 m_scaledBaseSource = 0;
    double m_baseFactor = 1; // scaled-base pixels per image pixel

    QImage m_shadow;
    QSizeF m_shadowCard;
    qreal m_shadowRatio = 0;
};

} // namespace lumivex
