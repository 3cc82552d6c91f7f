#include "core/analysis/FaceDetector.h"

#include "core/analysis/FacePass.h"

#include <QMutex>
#include <QMutexLocker>
#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <cmath>
#include <exception>
#include <numeric>

namespace lumivex::FaceDetector {

namespace {

constexpr int tileDivisors[] = {2, 4, 8, 16, 32};
constexpr double smallestTile = 120;
constexpr double largestTileShare = 0.95; // of the longer side
constexpr std::size_t maxTiles = 700;
constexpr double duplicateUnion = 0.35;
constexpr double duplicateSmaller = 0.6;

double area(const Rect& r)
{
    return r.width * r.height;
}

// 0, step, 2 x step, ... while the tile ends before the far edge, then the tile flush with that edge.
std::vector<double> starts(double tile, double extent, double step)
{
    if (!(tile < extent))
        return {0};
    std::vector<double> result;
    for (double start = 0; tile + start < extent; start += step)
        result.push_back(start);
    result.push_back(extent - tile);
    return result;
}

QString describe(const std::exception& failure)
{
    const QString what = QString::fromLocal8Bit(failure.what()).trimmed();
    return what.isEmpty() ? QStringLiteral("face detection failed") : what;
}

} // namespace

std::vector<Rect> tileRegions(int imageWidth, int imageHeight)
{
    const double width = imageWidth;
    const double height = imageHeight;
    const double longer = std::max(width, height);
    std::vector<double> sizes;
    for (int divisor : tileDivisors) {
        const double size = std::max(std::round(longer / divisor), smallestTile);
        if (size < largestTileShare * longer && std::find(sizes.begin(), sizes.end(), size) == sizes.end())
            sizes.push_back(size);
    }

    std::vector<Rect> tiles;
    for (double size : sizes) {
        const double tileWidth = std::min(size, width);
        const double tileHeight = std::min(size, height);
        const std::vector<double> xs = starts(tileWidth, width, size / 2);
        const std::vector<double> ys = starts(tileHeight, height, size / 2);
        if (tiles.size() + xs.size() * ys.size() > maxTiles)
            break;
        for (double x : xs) {
            for (double y : ys)
                tiles.push_back(Rect(x, y, tileWidth, tileHeight).integral());
        }
    }
    return tiles;
}

std::vector<Rect> merge(std::vector<Rect> rects)
{
    std::stable_sort(rects.begin(), rects.end(), [](const Rect& a, const Rect& b) { return area(a) > area(b); });
    std::vector<Rect> kept;
    for (const Rect& candidate : rects) {
        const bool duplicate = std::any_of(kept.begin(), kept.end(), [&](const Rect& other) {
            const Rect common = candidate.intersected(other);
            if (common.isEmpty())
                return false;
            const double shared = area(common);
            return shared / (area(candidate) + area(other) - shared) > duplicateUnion
                || shared / std::min(area(candidate), area(other)) > duplicateSmaller;
        });
        if (!duplicate)
            kept.push_back(candidate);
    }
    return kept;
}

namespace {

// One pass per tile on the global thread pool; the faces of every tile are appended in tile order. What the last
// failing pass reported, if any pass failed.
std::optional<QString> addTileFaces(const QImage& image, std::vector<Rect>& faces)
{
    std::vector<QRect> tiles;
    for (const Rect& tile : tileRegions(image.width(), image.height()))
        tiles.emplace_back(int(tile.x), int(tile.y), int(tile.width), int(tile.height));
    // One slot per tile rather than one list in finishing order, so the same picture always gives the same faces:
    // which of two equal duplicates survives the merge depends on the order.
    std::vector<std::vector<Rect>> perTile(tiles.size());
    QMutex lock;
    std::optional<QString> failed;
    std::vector<std::size_t> indices(tiles.size());
    std::iota(indices.begin(), indices.end(), std::size_t(0));
    QtConcurrent::blockingMap(indices, [&](std::size_t index) {
        try {
            perTile[index] = FacePass::detect(image, tiles[index], FacePass::Band::forTile(tiles[index]));
        } catch (const std::exception& failure) {
            const QMutexLocker locked(&lock);
            failed = describe(failure);
        }
    });
    for (const std::vector<Rect>& found : perTile)
        faces.insert(faces.end(), found.begin(), found.end());
    return failed;
}

} // namespace

Detection detectFaces(const QImage& original, bool thorough)
{
    if (original.isNull())
        return {};
    // The 32-bit layout every pass reads (no copy when the picture already has it).
    const QImage image = original.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return {{}, QStringLiteral("out of memory")};

    std::vector<Rect> faces;
    try {
        faces = FacePass::detect(image, image.rect(), FacePass::Band::forWholeImage(image.size()));
    } catch (const std::exception& failure) {
        return {{}, describe(failure)};
    }

    if (thorough) {
        if (std::optional<QString> failed = addTileFaces(image, faces))
            return {{}, std::move(failed)};
    }

    faces = merge(std::move(faces));
    std::sort(faces.begin(), faces.end(), [](const Rect& a, const Rect& b) {
        return a.minY() != b.minY() ? a.minY() < b.minY() : a.minX() < b.minX();
    });
    return {std::move(faces), std::nullopt};
}

} // namespace lumivex::FaceDetector
