#pragma once

#include <QByteArrayView>

#include <optional>

namespace lumivex {

// What an image file states about itself, read from its own bytes rather than from what Qt's reader makes of
// them: Qt fills in the screen's resolution where a file states none, and prefers a PNG's gAMA and cHRM chunks
// to its sRGB chunk. Understood: PNG, JPEG (JFIF and EXIF), TIFF, BMP and WebP; other files state nothing here.
struct ImageMetadata {
    // The horizontal resolution in dots per metre: PNG's pHYs in metres, JPEG's JFIF density per inch or per
    // centimetre or else its EXIF resolution, TIFF's XResolution with its unit, BMP's pixels per metre. None
    // when the file states none, or only an aspect ratio.
    std::optional<double> dotsPerMetre;
    // An ICC colour profile is embedded (PNG iCCP, JPEG APP2, TIFF tag 34675, WebP ICCP).
    bool embedsColourProfile = false;
    // PNG's sRGB chunk: the picture is sRGB whatever the gAMA and cHRM chunks beside it say.
    bool declaresSrgb = false;

    static ImageMetadata read(QByteArrayView file);
};

} // namespace lumivex
