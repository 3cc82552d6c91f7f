#include "core/analysis/FacePass.h"

#include <dlib/image_processing/frontal_face_detector.h>
#include <dlib/opencv/cv_image.h>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace lumivex::FacePass {

namespace {

// A tile looks for faces from a quarter to half of its size: windowFloor x 2 working pixels, which dlib's
// pyramid (each level 5/6 of the one before) reaches at its third level.
constexpr unsigned long tilePyramidLevels = 3;

// Below this standard deviation of its grey levels a tile is one flat colour (a panel, a window background, a
// gentle gradient): no face can be in it, and the pass is skipped.
constexpr double flatDeviation = 2;

// dlib pads its feature maps so that windows may hang half outside the picture, which finds faces cut by the
// picture's edge. Inside the picture a tile gains nothing from that: a face over an inner tile edge is dropped
// anyway. On a tile of 288 pixels the padding makes a third of the work, so tiles away from the picture's edges
// read their features without it. The features themselves are the same, so the same weights apply.
struct UnpaddedFhog {
    dlib::rectangle image_to_feats(const dlib::rectangle& rect, int cellSize, int, int) const
    {
        return dlib::image_to_fhog(rect, cellSize, 1, 1);
    }
    dlib::rectangle feats_to_image(const dlib::rectangle& rect, int cellSize, int, int) const
    {
        return dlib::fhog_to_image(rect, cellSize, 1, 1);
    }
    template <typename Image>
    void operator()(const Image& image, dlib::array<dlib::array2d<float>>& hog, int cellSize, int, int) const
    {
        dlib::extract_fhog_features(image, hog, cellSize, 1, 1);
    }
    unsigned long get_num_planes() const { return 31; }
};

using InnerTileDetector = dlib::object_detector<dlib::scan_fhog_pyramid<dlib::pyramid_down<6>, UnpaddedFhog>>;

std::vector<dlib::frontal_face_detector::feature_vector_type> weightsOf(const dlib::frontal_face_detector& detector)
{
    std::vector<dlib::frontal_face_detector::feature_vector_type> weights;
    for (unsigned long i = 0; i < detector.num_detectors(); ++i)
        weights.push_back(detector.get_w(i));
    return weights;
}

dlib::frontal_face_detector withPyramidLevels(const dlib::frontal_face_detector& detector, unsigned long levels)
{
    dlib::frontal_face_detector::image_scanner_type scanner;
    scanner.copy_configuration(detector.get_scanner());
    scanner.set_max_pyramid_levels(levels);
    return dlib::frontal_face_detector(scanner, detector.get_overlap_tester(), weightsOf(detector));
}

InnerTileDetector unpadded(const dlib::frontal_face_detector& detector, unsigned long levels)
{
    const auto& original = detector.get_scanner();
    InnerTileDetector::image_scanner_type scanner;
    scanner.set_detection_window_size(original.get_detection_window_width(), original.get_detection_window_height());
    scanner.set_padding(original.get_padding());
    scanner.set_cell_size(original.get_cell_size());
    scanner.set_max_pyramid_levels(levels);
    return InnerTileDetector(scanner, detector.get_overlap_tester(), weightsOf(detector));
}

// Building a detector unpacks its model and prepares its filters, which costs more than a small pass; running
// one changes it, so threads cannot share one. Each thread builds its own on first use and keeps it.
struct Detectors {
    dlib::frontal_face_detector everyLevel = dlib::get_frontal_face_detector();
    dlib::frontal_face_detector tile = withPyramidLevels(everyLevel, tilePyramidLevels);
    InnerTileDetector innerTile = unpadded(everyLevel, tilePyramidLevels);
};

Detectors& detectors()
{
    thread_local Detectors perThread;
    return perThread;
}

std::vector<dlib::rectangle> run(const cv::Mat& gray, const Band& band, bool touchesImageEdge)
{
    const dlib::cv_image<unsigned char> view(gray);
    Detectors& d = detectors();
    if (band.largerFacesToo)
        return d.everyLevel(view);
    return touchesImageEdge ? d.tile(view) : d.innerTile(view);
}

// Edge-margin rule for tiles: m = max(2 % of the shorter side, 2 pixels).
bool cutByRegion(const Rect& face, const QRect& region, QSize imageSize)
{
    const double margin = std::max(std::min(region.width(), region.height()) * 0.02, 2.0);
    const double left = region.x();
    const double top = region.y();
    const double right = region.x() + region.width();
    const double bottom = region.y() + region.height();
    return (face.minX() - left < margin && region.x() > 0) || (face.minY() - top < margin && region.y() > 0)
        || (right - face.maxX() < margin && right < imageSize.width())
        || (bottom - face.maxY() < margin && bottom < imageSize.height());
}

} // namespace

Band Band::forTile(const QRect& tile)
{
    return {std::max(tile.width(), tile.height()) / 4.0, false};
}

Band Band::forWholeImage(QSize imageSize)
{
    return {std::max(imageSize.width(), imageSize.height()) / 4.0, true};
}

std::vector<Rect> detect(const QImage& image, const QRect& region, const Band& band)
{
    const QRect area = region.intersected(image.rect());
    if (area.isEmpty() || !(band.smallestFace > 0) || image.depth() != 32)
        return {};

    const cv::Mat pixels(image.height(), image.width(), CV_8UC4, const_cast<uchar*>(image.constBits()),
                         size_t(image.bytesPerLine()));
    const cv::Mat cropped = pixels(cv::Rect(area.x(), area.y(), area.width(), area.height()));
    const double scale = windowFloor / band.smallestFace;
    const cv::Size working(std::max(1, int(std::lround(area.width() * scale))),
                           std::max(1, int(std::lround(area.height() * scale))));
    cv::Mat resized;
    cv::resize(cropped, resized, working, 0, 0, scale < 1 ? cv::INTER_AREA : cv::INTER_LINEAR);
    cv::Mat gray;
    cv::cvtColor(resized, gray, cv::COLOR_BGRA2GRAY);
    cv::Scalar mean;
    cv::Scalar deviation;
    cv::meanStdDev(gray, mean, deviation);
    if (deviation[0] < flatDeviation)
        return {};

    const bool touchesImageEdge = !image.rect().adjusted(1, 1, -1, -1).contains(area);
    const std::vector<dlib::rectangle> found = run(gray, band, touchesImageEdge);

    const double toImageX = double(area.width()) / working.width;
    const double toImageY = double(area.height()) / working.height;
    const Rect imageRect(0, 0, image.width(), image.height());
    const bool isTile = area != image.rect();
    std::vector<Rect> faces;
    for (const dlib::rectangle& box : found) {
        // dlib's boxes name their first and last pixel: the right and bottom edges lie one pixel further.
        const Rect face(area.x() + box.left() * toImageX, area.y() + box.top() * toImageY,
                        double(box.right() + 1 - box.left()) * toImageX, double(box.bottom() + 1 - box.top()) * toImageY);
        if (isTile && cutByRegion(face, area, image.size()))
            continue;
        const Rect inside = face.intersected(imageRect);
        if (!inside.isEmpty())
            faces.push_back(inside);
    }
    return faces;
}

} // namespace lumivex::FacePass
