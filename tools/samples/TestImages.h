#pragma once

#include <QImage>

namespace lumivex::test {

// A deterministic screenshot-like picture: flat UI colours, a title bar, text, a gradient and a noisy
// photo-like area. The same seed always gives the same pixels.
QImage screenshotLikeImage(int width, int height, unsigned seed = 1);

} // namespace lumivex::test
