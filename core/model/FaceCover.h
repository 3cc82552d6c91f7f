#pragma once

#include "core/geometry/Rect.h"
#include "core/model/Annotation.h"
#include "core/model/BlurStyle.h"
#include "core/model/StickerSource.h"
#include "core/model/ToolStyle.h"

#include <QRandomGenerator>

#include <vector>

namespace lumivex {

// How found faces are covered: a blur region of a style, one sticker on every face, stickers drawn at random
// from a pool, or an ellipse filled with the current fill colour. Compared by kind and payload.
class FaceCover {
public:
    enum class Kind { blur, sticker, randomStickers, filledEllipse };

    static FaceCover blur(BlurStyle style);
    static FaceCover sticker(StickerSource source);
    static FaceCover randomStickers(std::vector<StickerSource> pool);
    static FaceCover filledEllipse();

    Kind kind() const { return m_kind; }
    BlurStyle blurStyle() const { return m_blurStyle; }
    // The one sticker of `sticker`, or the pool of `randomStickers`; empty for the other kinds.
    const std::vector<StickerSource>& stickers() const { return m_stickers; }

    // One cover per face, in face order and in the document's style (at `unit` pixels per style point), ready to
    // go on top of the picture. Empty when there is nothing to do: no faces, or random stickers from an empty
    // pool. A face without area, or with a coordinate that is not a number, gets no cover.
    std::vector<Annotation> covers(const std::vector<Rect>& faces, const ToolStyle& style, double unit,
                                   QRandomGenerator& random = *QRandomGenerator::system()) const;

    // A sticker 1.5 times the face's longer side in its own proportions, grown (never shrunk) until it spans
    // 115 % of the face both ways, centred on the face.
    static Annotation stickerAnnotation(const StickerSource& source, const Rect& face);
    // `count` stickers from the pool: each round uses every sticker once in a new random order, and a round never
    // starts with the sticker the previous one ended with (when the pool has two or more). Empty for an empty pool.
    static std::vector<StickerSource> randomPicks(int count, const std::vector<StickerSource>& pool,
                                                  QRandomGenerator& random = *QRandomGenerator::system());

    bool operator==(const FaceCover&) const = default;

private:
    FaceCover() = default;

    Annotation blurCover(const Rect& face, const ToolStyle& style, double unit) const;
    static Annotation ellipseCover(const Rect& face, const ToolStyle& style, double unit);

    Kind m_kind = Kind::filledEllipse;
    BlurStyle m_blurStyle = BlurStyle::gaussian;
    std::vector<StickerSource> m_stickers;
};

} // namespace lumivex
