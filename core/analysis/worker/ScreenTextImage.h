#pragma once

#include <opencv2/core.hpp>

namespace lumivex {

// Screen text made easy for Tesseract, whose models were trained on dark print on light paper at print sizes.
// Screen text is small, antialiased and often light on dark, with dark and light panels side by side in one
// picture. So the picture is enlarged, each pixel's background is estimated from its neighbourhood, areas on a
// dark background are inverted, and every background is evened out to white, so one global threshold serves
// every panel.
struct ScreenTextImage {
    cv::Mat image; // 8-bit grey, dark text on white
    double scale;  // image pixels per picture pixel

    // `grey`: the picture, 8-bit grey.
    static ScreenTextImage prepare(const cv::Mat& grey);
    // The enlargement for a picture: smaller text needs more room, large pictures would cost too much time.
    static double scaleFor(const cv::Mat& grey);
};

} // namespace lumivex
