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

dlib::frontal_face_detector withPyramidLevels(const dlib::frontal_face_detector& detector, unsigned long levels)
{
    dlib::frontal_face_detector::image_scanner_type scanner;
    scanner.copy_configuration(detector.get_scanner());
    scanner.set_max_pyramid_levels(levels);
    std::vector<dlib::frontal_face_detector::feature_vector_type> weights;
    for (unsigned long i = 0; i < detector.num_detectors(); ++i)
        weights.push_back(detector.get_w(i));
    return dlib::frontal_face_detector(scanner, detector.get_overlap_tester(), weights);
}

// Building a detector unpacks its model and prepares its filters, which costs more than a small pass; running
// one changes it, so threads cannot share one. Each thread builds its own on first use and keeps it.
dlib::frontal_face_detector& detectorFor(const Band& band)
{
    thread_local dlib::frontal_face_detector everyLevel = dlib::get_frontal_face_detector();
    thread_local dlib::frontal_face_detector tileLevels = withPyramidLevels(everyLevel, tilePyramidLevels);
    return band.largerFacesToo ? everyLevel : tileLevels;
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

    const std::vector<dlib::rectangle> found = detectorFor(band)(dlib::cv_image<unsigned char>(gray));

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
