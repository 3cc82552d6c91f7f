#include "ScreenTextImage.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace lumivex {

namespace {

// The background is estimated on a quarter-size picture with a median, which ignores text as long as text covers
// less than half of the neighbourhood: 11 samples of 4 pixels span about 44 picture pixels, more than the tallest
// interface line at scale 2.
constexpr int backgroundReduction = 4;
constexpr int backgroundMedian = 11;
// Enlarging beyond this many pixels costs more time than it gains on text big enough to be read anyway.
constexpr double largestPreparedPixels = 16.0e6;

cv::Mat background(const cv::Mat& grey, cv::Size size)
{
    cv::Mat small;
    const cv::Size reduced(std::max(1, grey.cols / backgroundReduction), std::max(1, grey.rows / backgroundReduction));
    cv::resize(grey, small, reduced, 0, 0, cv::INTER_AREA);
    cv::Mat smooth;
    if (small.cols >= 2 && small.rows >= 2)
        cv::medianBlur(small, smooth, backgroundMedian);
    else
        smooth = small;
    cv::Mat full;
    cv::resize(smooth, full, size, 0, 0, cv::INTER_LINEAR);
    return full;
}

} // namespace

double ScreenTextImage::scaleFor(const cv::Mat& grey)
{
    const double pixels = double(grey.cols) * grey.rows;
    double scale = 2.0;
    if (pixels * scale * scale > largestPreparedPixels)
        scale = std::max(1.0, std::sqrt(largestPreparedPixels / std::max(pixels, 1.0)));
    return scale;
}

ScreenTextImage ScreenTextImage::prepare(const cv::Mat& grey)
{
    const double scale = scaleFor(grey);
    const cv::Size size(int(std::lround(grey.cols * scale)), int(std::lround(grey.rows * scale)));
    cv::Mat enlarged;
    if (scale == 1.0)
        enlarged = grey.clone();
    else
        cv::resize(grey, enlarged, size, 0, 0, cv::INTER_CUBIC);
    const cv::Mat back = background(grey, size);

    for (int y = 0; y < enlarged.rows; ++y) {
        uchar* row = enlarged.ptr<uchar>(y);
        const uchar* b = back.ptr<uchar>(y);
        for (int x = 0; x < enlarged.cols; ++x) {
            const bool dark = b[x] < 128;
            const int value = dark ? 255 - row[x] : row[x];
            const int paper = std::max(dark ? 255 - b[x] : int(b[x]), 1);
            // Divide by the background: every panel's background becomes white, the text keeps its contrast.
            row[x] = uchar(std::min(255, value * 255 / paper));
        }
    }
    return {enlarged, scale};
}

} // namespace lumivex
