#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>

#include <cstdint>
#include <vector>

// Image files in the forms other programs write and Qt's own writers do not, built byte by byte.
namespace lumivex::test::TrickyImageFiles {

// `png` with extra chunks (type and data) right after its header chunk.
QByteArray withChunksAfterHeader(const QByteArray& png, const std::vector<std::pair<const char*, QByteArray>>& chunks);
// An Adam7-interlaced 8-bit RGBA PNG of the picture.
QByteArray interlacedPng(const QImage& picture);

struct ExifField {
    std::uint16_t tag;
    std::uint16_t type; // 3 SHORT, 5 RATIONAL
    std::uint32_t value; // a SHORT's value, or a RATIONAL's numerator over 1
};
// `jpeg` with an EXIF segment holding these first-directory fields, right after its start marker.
QByteArray withExif(const QByteArray& jpeg, const std::vector<ExifField>& fields);
// A CMYK JPEG of one colour, as print workflows write them.
QByteArray cmykJpeg(int width, int height, QColor cmyk);
// A progressive JPEG of the picture.
QByteArray progressiveJpeg(const QImage& picture);
// A baseline TIFF with two pages of plain colours.
QByteArray twoPageTiff(QSize size, QColor first, QColor second);
// An animated GIF with two frames of plain colours.
QByteArray twoFrameGif(QSize size, QColor first, QColor second);

} // namespace lumivex::test::TrickyImageFiles
