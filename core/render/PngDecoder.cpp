#include "core/render/PngDecoder.h"

#include "core/render/LargeAllocation.h"

#include <libdeflate.h>

#include <QtEndian>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace lumivex::PngDecoder {

namespace {

constexpr char signature[] = "\x89PNG\r\n\x1a\n";

struct Header {
    quint32 width = 0;
    quint32 height = 0;
    int channels = 0; // 3 for RGB, 4 for RGBA
};

quint32 readBigEndian(const char* at) { return qFromBigEndian<quint32>(at); }

// The chunks in order, each checked against its CRC; false on anything the plain decoder leaves to Qt.
bool readChunks(QByteArrayView png, Header& header, QByteArray& compressed, QPoint& density)
{
    qsizetype at = 8;
    bool sawHeader = false;
    while (at + 12 <= png.size()) {
        const quint32 length = readBigEndian(png.data() + at);
        if (length > quint32(png.size() - at - 12))
            return false;
        const char* type = png.data() + at + 4;
        const char* data = type + 4;
        const quint32 crc = readBigEndian(data + length);
        if (libdeflate_crc32(0, type, length + 4) != crc)
            return false;
        const QByteArrayView name(type, 4);
        if (name == "IHDR") {
            if (length != 13 || sawHeader)
                return false;
            header.width = readBigEndian(data);
            header.height = readBigEndian(data + 4);
            const auto depth = quint8(data[8]), colour = quint8(data[9]);
            // compression, filter method and interlacing must all be 0
            if (depth != 8 || (colour != 2 && colour != 6) || data[10] != 0 || data[11] != 0 || data[12] != 0)
                return false;
            header.channels = colour == 6 ? 4 : 3;
            sawHeader = true;
        } else if (name == "IDAT") {
            compressed.append(data, length);
        } else if (name == "pHYs") {
            if (length == 9 && data[8] == 1)
                density = QPoint(int(std::min<quint32>(readBigEndian(data), INT_MAX)),
                                 int(std::min<quint32>(readBigEndian(data + 4), INT_MAX)));
        } else if (name == "IEND") {
            return sawHeader;
        } else if (name == "PLTE" || name == "tRNS" || name == "iCCP" || name == "sRGB" || name == "gAMA"
                   || name == "cHRM" || name == "sBIT" || (type[0] & 0x20) == 0) {
            // Colour meaning we would have to apply, or a critical chunk we do not know.
            return false;
        }
        at += 12 + qsizetype(length);
    }
    return false;
}

quint8 paeth(int left, int up, int upLeft)
{
    const int estimate = left + up - upLeft;
    const int toLeft = std::abs(estimate - left), toUp = std::abs(estimate - up), toUpLeft = std::abs(estimate - upLeft);
    if (toLeft <= toUp && toLeft <= toUpLeft)
        return quint8(left);
    return quint8(toUp <= toUpLeft ? up : upLeft);
}

// Undoes one row's filter in place; `previous` is the row above, already unfiltered (zeros for the first row).
bool unfilter(quint8 filter, quint8* row, const quint8* previous, size_t length, size_t bpp)
{
    switch (filter) {
    case 0:
        return true;
    case 1:
        for (size_t i = bpp; i < length; ++i)
            row[i] = quint8(row[i] + row[i - bpp]);
        return true;
    case 2:
        for (size_t i = 0; i < length; ++i)
            row[i] = quint8(row[i] + previous[i]);
        return true;
    case 3:
        for (size_t i = 0; i < length; ++i)
            row[i] = quint8(row[i] + ((i >= bpp ? row[i - bpp] : 0) + previous[i]) / 2);
        return true;
    case 4:
        for (size_t i = 0; i < length; ++i)
            row[i] = quint8(row[i] + (i >= bpp ? paeth(row[i - bpp], previous[i], previous[i - bpp])
                                               : paeth(0, previous[i], 0)));
        return true;
    default:
        return false;
    }
}

} // namespace

std::optional<QImage> decodePlain(QByteArrayView png, qint64 pixelLimit)
{
    if (png.size() < 8 || std::memcmp(png.data(), signature, 8) != 0)
        return std::nullopt;
    Header header;
    QByteArray compressed;
    QPoint density;
    if (!readChunks(png, header, compressed, density) || header.width == 0 || header.height == 0
        || qint64(header.width) * header.height > pixelLimit)
        return std::nullopt;
    const size_t rowBytes = size_t(header.width) * size_t(header.channels);
    const size_t expected = (rowBytes + 1) * header.height;
    // Both buffers come from huge pages: first touch of fresh 4 KiB pages costs more than the decoding itself.
    const auto rawMemory = LargeAllocation::allocate(expected);
    if (!rawMemory)
        return std::nullopt;
    auto* raw = reinterpret_cast<quint8*>(rawMemory.get());
    const std::unique_ptr<libdeflate_decompressor, decltype(&libdeflate_free_decompressor)> inflater(
        libdeflate_alloc_decompressor(), &libdeflate_free_decompressor);
    if (!inflater
        || libdeflate_zlib_decompress(inflater.get(), compressed.constData(), size_t(compressed.size()), raw, expected, nullptr) != LIBDEFLATE_SUCCESS)
        return std::nullopt;

    QImage image = LargeAllocation::image(QSize(int(header.width), int(header.height)),
                                          header.channels == 4 ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull())
        return std::nullopt;
    const std::vector<quint8> zeros(rowBytes, 0);
    const quint8* previous = zeros.data();
    for (quint32 y = 0; y < header.height; ++y) {
        quint8* row = raw + y * (rowBytes + 1);
        if (!unfilter(row[0], row + 1, previous, rowBytes, size_t(header.channels)))
            return std::nullopt;
        previous = row + 1;
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(int(y)));
        const quint8* in = row + 1;
        if (header.channels == 4)
            for (quint32 x = 0; x < header.width; ++x, in += 4)
                out[x] = qRgba(in[0], in[1], in[2], in[3]);
        else
            for (quint32 x = 0; x < header.width; ++x, in += 3)
                out[x] = qRgb(in[0], in[1], in[2]);
    }
    if (density.x() > 0 && density.y() > 0) {
        image.setDotsPerMeterX(density.x());
        image.setDotsPerMeterY(density.y());
    }
    return image;
}

} // namespace lumivex::PngDecoder
