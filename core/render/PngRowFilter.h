#pragma once

#include <QImage>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lumivex {

// Turns rows of a 32-bit QImage (RGB32, ARGB32 or ARGB32_Premultiplied) into PNG image data: for each row a
// filter-type byte followed by the filtered RGB or RGBA bytes. Rows can be produced in independent bands, so
// several threads can fill one buffer.
class PngRowFilter {
public:
    enum class Choice {
        perRow, // every filter is tried and the one with the smallest sum of |signed byte| is kept (libpng's rule)
        up,     // always Up: one subtraction per byte, and screenshots repeat many rows
    };

    PngRowFilter(const QImage& source, bool opaque, Choice choice);

    // Bytes per output row (filter byte included).
    std::size_t stride() const { return m_rowLength + 1; }

    // Writes rows [firstRow, endRow) to `out`, which points at the output of row `firstRow`.
    void filterRows(int firstRow, int endRow, std::uint8_t* out) const;

private:
    void packRow(int y, std::uint8_t* out) const;

    const QImage& m_source;
    bool m_opaque;
    bool m_premultiplied;
    Choice m_choice;
    int m_bpp;
    std::size_t m_rowLength;
};

} // namespace lumivex
