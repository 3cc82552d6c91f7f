#include "core/render/ImageMetadata.h"

#include <cmath>
#include <cstdint>

namespace lumivex {

namespace {

constexpr double metresPerInch = 0.0254;

// Reads integers of either byte order without ever reading past the end; out of range reads give nothing.
class Bytes {
public:
    Bytes(QByteArrayView data, bool bigEndian = true) : m_data(data), m_bigEndian(bigEndian) {}

    qsizetype size() const { return m_data.size(); }
    bool has(qsizetype offset, qsizetype length) const
    {
        return offset >= 0 && length >= 0 && offset <= m_data.size() && length <= m_data.size() - offset;
    }
    std::optional<std::uint32_t> u8(qsizetype at) const { return read(at, 1); }
    std::optional<std::uint32_t> u16(qsizetype at) const { return read(at, 2); }
    std::optional<std::uint32_t> u32(qsizetype at) const { return read(at, 4); }
    bool startsWith(qsizetype at, QByteArrayView text) const
    {
        return has(at, text.size()) && m_data.sliced(at, text.size()) == text;
    }
    Bytes sliced(qsizetype from, bool bigEndian) const
    {
        return Bytes(has(from, 0) ? m_data.sliced(from) : QByteArrayView(), bigEndian);
    }

private:
    std::optional<std::uint32_t> read(qsizetype at, int length) const
    {
        if (!has(at, length))
            return std::nullopt;
        std::uint32_t value = 0;
        for (int i = 0; i < length; ++i) {
            const std::uint32_t byte = std::uint8_t(m_data[at + (m_bigEndian ? i : length - 1 - i)]);
            value = (value << 8) | byte;
        }
        return value;
    }

    QByteArrayView m_data;
    bool m_bigEndian;
};

std::optional<double> positive(double dotsPerMetre)
{
    if (std::isfinite(dotsPerMetre) && dotsPerMetre > 0)
        return dotsPerMetre;
    return std::nullopt;
}

// PNG: the chunks before the image data. pHYs unit 1 is the metre; unit 0 states an aspect ratio only.
void png(const Bytes& bytes, ImageMetadata& facts)
{
    qsizetype at = 8;
    while (const auto length = bytes.u32(at)) {
        const qsizetype data = at + 8;
        if (bytes.startsWith(at + 4, "IDAT") || bytes.startsWith(at + 4, "IEND") || !bytes.has(data, *length))
            return;
        if (bytes.startsWith(at + 4, "pHYs") && *length >= 9 && bytes.u8(data + 8) == 1u)
            facts.dotsPerMetre = positive(bytes.u32(data).value_or(0));
        else if (bytes.startsWith(at + 4, "iCCP"))
            facts.embedsColourProfile = true;
        else if (bytes.startsWith(at + 4, "sRGB"))
            facts.declaresSrgb = true;
        at = data + qsizetype(*length) + 4; // data and CRC
    }
}

// TIFF (also inside EXIF): the first directory's XResolution (a rational) per ResolutionUnit (1 none, 2 inch,
// the default, 3 centimetre), and its ICC profile tag.
void tiff(const Bytes& file, ImageMetadata& facts)
{
    const bool bigEndian = file.startsWith(0, "MM");
    if (!bigEndian && !file.startsWith(0, "II"))
        return;
    const Bytes bytes = file.sliced(0, bigEndian);
    if (bytes.u16(2) != 42u)
        return;
    const auto directory = bytes.u32(4);
    const auto count = directory ? bytes.u16(*directory) : std::nullopt;
    if (!count)
        return;
    std::optional<double> resolution;
    std::uint32_t unit = 2;
    for (std::uint32_t i = 0; i < *count; ++i) {
        const qsizetype entry = qsizetype(*directory) + 2 + qsizetype(i) * 12;
        const auto tag = bytes.u16(entry);
        if (!tag)
            break;
        if (*tag == 0x011A && bytes.u16(entry + 2) == 5u) { // XResolution, RATIONAL
            const auto offset = bytes.u32(entry + 8);
            const auto numerator = offset ? bytes.u32(*offset) : std::nullopt;
            const auto denominator = offset ? bytes.u32(*offset + 4) : std::nullopt;
            if (numerator && denominator && *denominator > 0)
                resolution = double(*numerator) / *denominator;
        } else if (*tag == 0x0128 && bytes.u16(entry + 2) == 3u) { // ResolutionUnit, SHORT
            unit = bytes.u16(entry + 8).value_or(2);
        } else if (*tag == 0x8773) { // InterColorProfile
            facts.embedsColourProfile = true;
        }
    }
    if (resolution && unit != 1)
        facts.dotsPerMetre = positive(unit == 3 ? *resolution * 100 : *resolution / metresPerInch);
}

// JPEG: the segments before the first scan. The JFIF density counts when it has units, else the EXIF one.
void jpeg(const Bytes& bytes, ImageMetadata& facts)
{
    std::optional<double> jfif;
    ImageMetadata exif;
    qsizetype at = 2;
    while (bytes.u8(at) == 0xFFu) {
        const auto marker = bytes.u8(at + 1);
        if (marker == 0xFFu) { // fill byte
            ++at;
            continue;
        }
        const auto length = bytes.u16(at + 2);
        if (!marker || !length || *marker == 0xDA || *marker == 0xD9)
            break;
        const qsizetype data = at + 4;
        if (*marker == 0xE0 && bytes.startsWith(data, QByteArrayView("JFIF\0", 5))) {
            const auto units = bytes.u8(data + 7);
            const auto density = bytes.u16(data + 8).value_or(0);
            if (units == 1u)
                jfif = positive(density / metresPerInch);
            else if (units == 2u)
                jfif = positive(density * 100.0);
        } else if (*marker == 0xE1 && bytes.startsWith(data, QByteArrayView("Exif\0\0", 6))) {
            tiff(bytes.sliced(data + 6, true), exif);
        } else if (*marker == 0xE2 && bytes.startsWith(data, QByteArrayView("ICC_PROFILE\0", 12))) {
            facts.embedsColourProfile = true;
        }
        at += 2 + qsizetype(*length);
    }
    facts.dotsPerMetre = jfif ? jfif : exif.dotsPerMetre;
}

// BMP: the info header's horizontal pixels per metre (0 when not stated).
void bmp(const Bytes& file, ImageMetadata& facts)
{
    const Bytes bytes = file.sliced(0, false);
    const auto headerSize = bytes.u32(14);
    const auto x = bytes.u32(38);
    if (headerSize && *headerSize >= 40 && x)
        facts.dotsPerMetre = positive(double(std::int32_t(*x)));
}

// WebP: a RIFF container whose ICCP chunk holds the profile.
void webp(const Bytes& file, ImageMetadata& facts)
{
    const Bytes bytes = file.sliced(0, false);
    qsizetype at = 12;
    while (const auto length = bytes.u32(at + 4)) {
        if (bytes.startsWith(at, "ICCP")) {
            facts.embedsColourProfile = true;
            return;
        }
        at += 8 + qsizetype(*length) + (*length & 1);
    }
}

} // namespace

ImageMetadata ImageMetadata::read(QByteArrayView file)
{
    ImageMetadata facts;
    const Bytes bytes(file);
    if (bytes.startsWith(0, "\x89PNG\r\n\x1a\n"))
        png(bytes, facts);
    else if (bytes.startsWith(0, "\xFF\xD8"))
        jpeg(bytes, facts);
    else if (bytes.startsWith(0, "II") || bytes.startsWith(0, "MM"))
        tiff(bytes, facts);
    else if (bytes.startsWith(0, "BM"))
        bmp(bytes, facts);
    else if (bytes.startsWith(0, "RIFF") && bytes.startsWith(8, "WEBP"))
        webp(bytes, facts);
    return facts;
}

} // namespace lumivex
