#pragma once

#include <QImage>

namespace lumivex {

// What a capture hands to the application: the pixels (opaque ARGB32 premultiplied, their own copy) and the
// pixels per point of the display they came from.
struct CaptureResult {
    QImage image;
    double scale = 1;
};

} // namespace lumivex
