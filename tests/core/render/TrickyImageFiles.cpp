#include "TrickyImageFiles.h"

#include "ExportFixtures.h"

#include <QBuffer>
#include <QImageWriter>
#include <QtEndian>

#include <libdeflate.h>
#include <turbojpeg.h>

namespace lumivex::test::TrickyImageFiles {
namespace {

template <class T>
void append(QByteArray& bytes, T value, bool bigEndian)
{
    char raw[sizeof(T)];
    if (bigEndian)
        qToBigEndian(value, raw);
    else
        qToLittleEndian(value, raw);
    bytes.append(raw, sizeof(T));
}

QByteArray zlib(const QByteArray& raw)
{
    libdeflate_compressor* compressor = libdeflate_alloc_compressor(6);
    QByteArray out(qsizetype(libdeflate_zlib_compress_bound(compressor, size_t(raw.size()))), '\0');
    out.resize(qsizetype(libdeflate_zlib_compress(compressor, raw.constData(), size_t(raw.size()), out.data(),
                                                  size_t(out.size()))));
    libdeflate_free_compressor(compressor);
    return out;
}

} // namespace

QByteArray withChunksAfterHeader(const QByteArray& png, const std::vector<std::pair<const char*, QByteArray>>& chunks)
{
    constexpr qsizetype afterHeader = 8 + 8 + 13 + 4; // signature, IHDR length and type, its data, its CRC
    QByteArray inserted;
    for (const auto& [type, data] : chunks)
        appendChunk(inserted, type, data);
    return png.left(afterHeader) + inserted + png.mid(afterHeader);
}

QByteArray interlacedPng(const QImage& picture)
{
    const QImage rgba = picture.convertToFormat(QImage::Format_RGBA8888);
    const int width = rgba.width(), height = rgba.height();
    struct Pass { int x, y, dx, dy; };
    const Pass passes[] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4}, {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    QByteArray raw;
    for (const Pass& pass : passes) {
        if (pass.x >= width || pass.y >= height)
            continue; // an empty pass has no rows at all
        for (int y = pass.y; y < height; y += pass.dy) {
            raw.append('\0'); // filter: none
            for (int x = pass.x; x < width; x += pass.dx)
                raw.append(reinterpret_cast<const char*>(rgba.constScanLine(y)) + x * 4, 4);
        }
    }
    QByteArray png("\x89PNG\r\n\x1a\n", 8), header;
    append(header, quint32(width), true);
    append(header, quint32(height), true);
    header.append("\x08\x06\x00\x00\x01", 5); // 8 bits, RGBA, deflate, adaptive filters, Adam7
    appendChunk(png, "IHDR", header);
    appendChunk(png, "IDAT", zlib(raw));
    appendChunk(png, "IEND", {});
    return png;
}

QByteArray withExif(const QByteArray& jpeg, const std::vector<ExifField>& fields)
{
    // A big-endian TIFF structure: header, one directory, then the rationals it points to.
    QByteArray tiff("MM\0\x2a", 4);
    append(tiff, quint32(8), true);
    const quint32 dataStart = 8 + 2 + quint32(fields.size()) * 12 + 4;
    QByteArray directory, data;
    append(directory, quint16(fields.size()), true);
    for (const ExifField& field : fields) {
        append(directory, field.tag, true);
        append(directory, field.type, true);
        append(directory, quint32(1), true);
        if (field.type == 5) {
            append(directory, quint32(dataStart + quint32(data.size())), true);
            append(data, field.value, true);
            append(data, quint32(1), true);
        } else {
            append(directory, quint16(field.value), true);
            append(directory, quint16(0), true);
        }
    }
    append(directory, quint32(0), true); // no next directory
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff + directory + data;
    QByteArray segment("\xFF\xE1", 2);
    append(segment, quint16(payload.size() + 2), true);
    segment += payload;
    // After the JFIF segment, where cameras put it.
    const qsizetype afterApp0 = 4 + ((qsizetype(uchar(jpeg[4])) << 8) | uchar(jpeg[5]));
    return jpeg.left(afterApp0) + segment + jpeg.mid(afterApp0);
}

QByteArray cmykJpeg(int width, int height, QColor cmyk)
{
    // Four bytes per pixel in TurboJPEG's CMYK order, written the way Adobe applications store them (inverted),
    // which is what readers expect.
    const uchar pixel[4] = {uchar(255 - cmyk.cyan()), uchar(255 - cmyk.magenta()), uchar(255 - cmyk.yellow()),
                            uchar(255 - cmyk.black())};
    QByteArray pixels;
    for (int i = 0; i < width * height; ++i)
        pixels.append(reinterpret_cast<const char*>(pixel), 4);
    tjhandle handle = tjInitCompress();
    unsigned char* out = nullptr;
    unsigned long size = 0;
    tjCompress2(handle, reinterpret_cast<const unsigned char*>(pixels.constData()), width, 0, height, TJPF_CMYK, &out,
                &size, TJSAMP_444, 95, 0);
    const QByteArray jpeg(reinterpret_cast<const char*>(out), qsizetype(size));
    tjFree(out);
    tjDestroy(handle);
    return jpeg;
}

QByteArray progressiveJpeg(const QImage& picture)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(true);
    writer.setQuality(95);
    writer.write(picture);
    return buffer.data();
}

QByteArray twoPageTiff(QSize size, QColor first, QColor second)
{
    const quint32 pageBytes = quint32(size.width() * size.height() * 3);
    QByteArray tiff("II*\0", 4);
    append(tiff, quint32(8 + 2 * pageBytes), false); // the first directory follows both pages' pixels
    for (const QColor& colour : {first, second})
        for (quint32 i = 0; i < pageBytes / 3; ++i)
            for (int channel : {colour.red(), colour.green(), colour.blue()})
                tiff.append(char(channel));
    for (int page = 0; page < 2; ++page) {
        const quint32 directory = quint32(tiff.size());
        const quint32 bitsOffset = directory + 2 + 10 * 12 + 4;
        const std::vector<std::tuple<quint16, quint16, quint32>> entries = {
            {256, 4, quint32(size.width())}, {257, 4, quint32(size.height())}, {258, 3, bitsOffset},
            {259, 3, 1}, {262, 3, 2}, {273, 4, 8 + quint32(page) * pageBytes}, {277, 3, 3},
            {278, 4, quint32(size.height())}, {279, 4, pageBytes}, {284, 3, 1}};
        append(tiff, quint16(entries.size()), false);
        for (const auto& [tag, type, value] : entries) {
            append(tiff, tag, false);
            append(tiff, type, false);
            append(tiff, quint32(tag == 258 ? 3 : 1), false);
            if (type == 3 && tag != 258) {
                append(tiff, quint16(value), false);
                append(tiff, quint16(0), false);
            } else {
                append(tiff, value, false);
            }
        }
        append(tiff, quint32(page == 0 ? bitsOffset + 6 : 0), false); // the next directory
        for (int sample = 0; sample < 3; ++sample)
            append(tiff, quint16(8), false);
    }
    return tiff;
}

QByteArray twoFrameGif(QSize size, QColor first, QColor second)
{
    QByteArray gif("GIF89a");
    append(gif, quint16(size.width()), false);
    append(gif, quint16(size.height()), false);
    gif.append(QByteArray("\xF6\0\0", 3)); // a global table of 128 colours
    QByteArray table(128 * 3, '\0');
    for (int i = 0; i < 2; ++i) {
        const QColor& colour = i == 0 ? first : second;
        table[i * 3] = char(colour.red());
        table[i * 3 + 1] = char(colour.green());
        table[i * 3 + 2] = char(colour.blue());
    }
    gif += table;
    gif += QByteArray("\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00", 19); // loop for ever
    for (char index : {char(0), char(1)}) {
        gif += QByteArray("\x21\xF9\x04\x00\x0A\x00\x00\x00", 8); // a tenth of a second per frame
        gif.append(char(0x2C));
        append(gif, quint32(0), false); // left and top
        append(gif, quint16(size.width()), false);
        append(gif, quint16(size.height()), false);
        gif.append('\0');
        // With a minimum code size of 7 every code takes one byte; a clear code every 64 pixels keeps it so.
        gif.append(char(7));
        QByteArray codes;
        for (int i = 0; i < size.width() * size.height(); ++i) {
            if (i % 64 == 0)
                codes.append(char(128));
            codes.append(index);
        }
        codes.append(char(129));
        for (qsizetype at = 0; at < codes.size(); at += 255) {
            const QByteArray block = codes.mid(at, 255);
            gif.append(char(block.size()));
            gif += block;
        }
        gif.append('\0');
    }
    gif.append(char(0x3B));
    return gif;
}

} // namespace lumivex::test::TrickyImageFiles
