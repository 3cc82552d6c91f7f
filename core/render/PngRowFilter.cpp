#include "PngRowFilter.h"

#include <algorithm>
#include <cstring>

namespace lumivex {
namespace {

enum FilterType : std::uint8_t { filterNone = 0, filterSub = 1, filterUp = 2, filterAverage = 3, filterPaeth = 4 };

// The hot loops are built twice, for the x86-64 baseline and for AVX2 (vectors twice as wide, and byte shuffles
// for packing), and the build for the processor at hand is chosen when the program loads.
#define LUMIVEX_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
// The filters are inlined into the choice so that they are built for its target too.
#define LUMIVEX_INLINE_FILTER inline __attribute__((always_inline))

// --- Packing ----------------------------------------------------------------------------------------------

LUMIVEX_VECTOR_CLONES
void packRgb(const QRgb* source, std::uint8_t* out, int width)
{
    for (int x = 0; x < width; ++x) {
        const QRgb pixel = source[x];
        out[3 * x] = std::uint8_t(pixel >> 16);
        out[3 * x + 1] = std::uint8_t(pixel >> 8);
        out[3 * x + 2] = std::uint8_t(pixel);
    }
}

// Rounds to nearest, so that premultiplying the stored value again restores the source exactly.
std::uint8_t unpremultiplied(int channel, int alpha)
{
    return std::uint8_t(std::min(255, (channel * 255 + alpha / 2) / alpha));
}

void packRgba(const QRgb* source, std::uint8_t* out, int width, bool premultiplied)
{
    for (int x = 0; x < width; ++x) {
        const QRgb pixel = source[x];
        const int alpha = qAlpha(pixel);
        std::uint8_t* o = out + 4 * x;
        if (!premultiplied || alpha == 255) {
            o[0] = std::uint8_t(qRed(pixel));
            o[1] = std::uint8_t(qGreen(pixel));
            o[2] = std::uint8_t(qBlue(pixel));
        } else if (alpha == 0) {
            o[0] = o[1] = o[2] = 0;
        } else {
            o[0] = unpremultiplied(qRed(pixel), alpha);
            o[1] = unpremultiplied(qGreen(pixel), alpha);
            o[2] = unpremultiplied(qBlue(pixel), alpha);
        }
        o[3] = std::uint8_t(alpha);
    }
}

// --- Filters ----------------------------------------------------------------------------------------------
// Each writes the filtered bytes of one row and returns their cost; `previous` is the unfiltered row above
// (zeros for the first row). They are plain byte loops so that the compiler vectorises them.

LUMIVEX_INLINE_FILTER
std::uint32_t byteCost(std::uint8_t filtered)
{
    const std::int8_t value = std::int8_t(filtered);
    return std::uint32_t(value < 0 ? -value : value);
}

LUMIVEX_INLINE_FILTER
std::uint32_t costOf(const std::uint8_t* bytes, std::size_t length)
{
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < length; ++i)
        sum += byteCost(bytes[i]);
    return sum;
}

LUMIVEX_INLINE_FILTER
std::uint32_t filterSubRow(const std::uint8_t* row, std::size_t length, int bpp, std::uint8_t* out)
{
    std::memcpy(out, row, std::size_t(bpp));
    for (std::size_t i = std::size_t(bpp); i < length; ++i)
        out[i] = std::uint8_t(row[i] - row[i - bpp]);
    return costOf(out, length);
}

LUMIVEX_INLINE_FILTER
void filterUpRow(const std::uint8_t* row, const std::uint8_t* previous, std::size_t length, std::uint8_t* out)
{
    for (std::size_t i = 0; i < length; ++i)
        out[i] = std::uint8_t(row[i] - previous[i]);
}

LUMIVEX_INLINE_FILTER
std::uint32_t filterAverageRow(const std::uint8_t* row, const std::uint8_t* previous, std::size_t length, int bpp,
                               std::uint8_t* out)
{
    for (int i = 0; i < bpp; ++i)
        out[i] = std::uint8_t(row[i] - (previous[i] >> 1));
    for (std::size_t i = std::size_t(bpp); i < length; ++i)
        out[i] = std::uint8_t(row[i] - std::uint8_t((std::uint16_t(row[i - bpp]) + previous[i]) >> 1));
    return costOf(out, length);
}

LUMIVEX_INLINE_FILTER
std::uint32_t filterPaethRow(const std::uint8_t* row, const std::uint8_t* previous, std::size_t length, int bpp,
                             std::uint8_t* out)
{
    for (int i = 0; i < bpp; ++i)
        out[i] = std::uint8_t(row[i] - previous[i]); // left and upper-left are zero: the predictor is "up"
    // 16-bit lanes hold the distances (at most 510) and fit twice as many to a vector as ints would.
    for (std::size_t i = std::size_t(bpp); i < length; ++i) {
        const std::int16_t a = row[i - bpp], b = previous[i], c = previous[i - bpp];
        std::int16_t pa = std::int16_t(b - c), pb = std::int16_t(a - c);
        std::int16_t pc = std::int16_t(pa + pb);
        pa = pa < 0 ? std::int16_t(-pa) : pa;
        pb = pb < 0 ? std::int16_t(-pb) : pb;
        pc = pc < 0 ? std::int16_t(-pc) : pc;
        const std::int16_t predictor = (pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c);
        out[i] = std::uint8_t(row[i] - std::uint8_t(predictor));
    }
    return costOf(out, length);
}

// Writes the filter byte and the filtered row with the cheapest filter. The first candidate is written
// straight to the output; a cheaper one found later is copied over it.
LUMIVEX_VECTOR_CLONES
void filterRowPerRowChoice(const std::uint8_t* row, const std::uint8_t* previous, std::size_t length, int bpp,
                           std::uint8_t* scratch, std::uint8_t* out)
{
    std::uint8_t* filtered = out + 1;
    std::uint8_t* candidates[3] = {scratch, scratch + length, scratch + 2 * length};
    filterUpRow(row, previous, length, candidates[1]);
    const std::uint32_t costs[5] = {costOf(row, length), filterPaethRow(row, previous, length, bpp, filtered),
                                    filterSubRow(row, length, bpp, candidates[0]), costOf(candidates[1], length),
                                    filterAverageRow(row, previous, length, bpp, candidates[2])};
    const std::uint8_t* sources[5] = {row, filtered, candidates[0], candidates[1], candidates[2]};
    constexpr std::uint8_t types[5] = {filterNone, filterPaeth, filterSub, filterUp, filterAverage};
    int best = 1;
    for (int candidate = 0; candidate < 5; ++candidate) {
        if (costs[candidate] < costs[best])
            best = candidate;
    }
    out[0] = types[best];
    if (best != 1)
        std::memcpy(filtered, sources[best], length);
}

} // namespace

PngRowFilter::PngRowFilter(const QImage& source, bool opaque, Choice choice)
    : m_source(source)
    , m_opaque(opaque)
    , m_premultiplied(source.format() == QImage::Format_ARGB32_Premultiplied)
    , m_choice(choice)
    , m_bpp(opaque ? 3 : 4)
    , m_rowLength(std::size_t(source.width()) * std::size_t(m_bpp))
{
}

void PngRowFilter::packRow(int y, std::uint8_t* out) const
{
    const auto* pixels = reinterpret_cast<const QRgb*>(m_source.constScanLine(y));
    if (m_opaque)
        packRgb(pixels, out, m_source.width());
    else
        packRgba(pixels, out, m_source.width(), m_premultiplied);
}

void PngRowFilter::filterRows(int firstRow, int endRow, std::uint8_t* out) const
{
    std::vector<std::uint8_t> rows(2 * m_rowLength, 0);
    std::vector<std::uint8_t> scratch(m_choice == Choice::perRow ? 3 * m_rowLength : 0);
    std::uint8_t* previous = rows.data();
    std::uint8_t* current = rows.data() + m_rowLength;
    // A band that starts below the top filters against the real row above it.
    if (firstRow > 0)
        packRow(firstRow - 1, previous);
    for (int y = firstRow; y < endRow; ++y) {
        packRow(y, current);
        std::uint8_t* rowOut = out + std::size_t(y - firstRow) * stride();
        if (m_choice == Choice::up) {
            rowOut[0] = filterUp;
            filterUpRow(current, previous, m_rowLength, rowOut + 1);
        } else {
            filterRowPerRowChoice(current, previous, m_rowLength, m_bpp, scratch.data(), rowOut);
        }
        std::swap(previous, current);
    }
}

} // namespace lumivex
