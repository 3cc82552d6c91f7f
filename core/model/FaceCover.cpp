#include "core/model/FaceCover.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace lumivex {

namespace {

// How far each cover reaches beyond the face, as a factor of its size about its centre.
constexpr double blurGrowth = 1.25;
constexpr double ellipseGrowth = 1.45;
// Blur strength at least this share of the region's width, so a big face is never merely softened.
constexpr double gaussianShareOfWidth = 0.15;
constexpr double pixelateShareOfWidth = 0.125;
// A sticker spans 1.5 times the face's longer side, and at least 115 % of the face each way.
constexpr double stickerLength = 1.5;
constexpr double stickerCoverage = 1.15;
constexpr double stickerMinimumAspect = 0.05;

Rect grown(const Rect& face, double factor)
{
    const Size size{face.width * factor, face.height * factor};
    return {Point{face.midX() - size.width / 2, face.midY() - size.height / 2}, size};
}

bool coverable(const Rect& face)
{
    return std::isfinite(face.x) && std::isfinite(face.y) && std::isfinite(face.width) && std::isfinite(face.height)
        && !face.standardized().isEmpty();
}

} // namespace

FaceCover FaceCover::blur(BlurStyle style)
{
    FaceCover cover;
    cover.m_kind = Kind::blur;
    cover.m_blurStyle = style;
    return cover;
}

FaceCover FaceCover::sticker(StickerSource source)
{
    FaceCover cover;
    cover.m_kind = Kind::sticker;
    cover.m_stickers.push_back(std::move(source));
    return cover;
}

FaceCover FaceCover::randomStickers(std::vector<StickerSource> pool)
{
    FaceCover cover;
    cover.m_kind = Kind::randomStickers;
    cover.m_stickers = std::move(pool);
    return cover;
}

FaceCover FaceCover::filledEllipse()
{
    return FaceCover();
}

std::vector<Annotation> FaceCover::covers(const std::vector<Rect>& given, const ToolStyle& style, double unit,
                                          QRandomGenerator& random) const
{
    std::vector<Rect> faces;
    std::copy_if(given.begin(), given.end(), std::back_inserter(faces), coverable);
    std::transform(faces.begin(), faces.end(), faces.begin(), [](const Rect& face) { return face.standardized(); });
    if (faces.empty())
        return {};

    std::vector<StickerSource> stickers;
    if (m_kind == Kind::sticker)
        stickers.assign(faces.size(), m_stickers.front());
    else if (m_kind == Kind::randomStickers)
        stickers = randomPicks(int(faces.size()), m_stickers, random);
    if ((m_kind == Kind::sticker || m_kind == Kind::randomStickers) && stickers.size() != faces.size())
        return {};

    std::vector<Annotation> result;
    for (size_t i = 0; i < faces.size(); ++i) {
        switch (m_kind) {
        case Kind::sticker:
        case Kind::randomStickers:
            result.push_back(stickerAnnotation(stickers[i], faces[i]));
            break;
        case Kind::blur:
            result.push_back(blurCover(faces[i], style, unit));
            break;
        case Kind::filledEllipse:
            result.push_back(ellipseCover(faces[i], style, unit));
            break;
        }
    }
    return result;
}

Annotation FaceCover::blurCover(const Rect& face, const ToolStyle& style, double unit) const
{
    Annotation cover(AnnotationKind::blur);
    style.apply(cover, unit);
    cover.blurStyle = m_blurStyle;
    cover.frame = grown(face, blurGrowth);
    cover.cornerRadius = std::min(cover.frame.width, cover.frame.height) / 2;
    const double share = m_blurStyle == BlurStyle::gaussian ? gaussianShareOfWidth : pixelateShareOfWidth;
    cover.blurAmount = std::max(cover.blurAmount, cover.frame.width * share);
    return cover;
}

Annotation FaceCover::ellipseCover(const Rect& face, const ToolStyle& style, double unit)
{
    Annotation cover(AnnotationKind::ellipse);
    style.apply(cover, unit);
    // The fill colour even when the style's fill is switched off: an unfilled ellipse would cover nothing.
    cover.fillColor = style.fillColor;
    cover.lineWidth = 0;
    cover.frame = grown(face, ellipseGrowth);
    return cover;
}

Annotation FaceCover::stickerAnnotation(const StickerSource& source, const Rect& face)
{
    const double length = stickerLength * std::max(face.width, face.height);
    double aspect = source.aspectRatio();
    if (!(aspect >= stickerMinimumAspect)) // also catches a ratio that is not a number
        aspect = stickerMinimumAspect;
    const Size base = aspect < 1 ? Size{length * aspect, length} : Size{length, length / aspect};
    const double k = std::max({stickerCoverage * face.width / base.width, stickerCoverage * face.height / base.height, 1.0});
    const Size size{base.width * k, base.height * k};

    Annotation sticker(AnnotationKind::sticker);
    sticker.sticker = source;
    sticker.frame = {Point{face.midX() - size.width / 2, face.midY() - size.height / 2}, size};
    return sticker;
}

std::vector<StickerSource> FaceCover::randomPicks(int count, const std::vector<StickerSource>& pool,
                                                  QRandomGenerator& random)
{
    std::vector<StickerSource> picks;
    if (pool.empty() || count <= 0)
        return picks;
    while (int(picks.size()) < count) {
        std::vector<StickerSource> round = pool;
        std::shuffle(round.begin(), round.end(), random);
        if (round.size() > 1 && !picks.empty() && round.front() == picks.back())
            std::swap(round.front(), round.back());
        picks.insert(picks.end(), round.begin(), round.end());
    }
    picks.resize(size_t(count));
    return picks;
}

} // namespace lumivex
