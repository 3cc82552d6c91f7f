#include "core/render/Pixelation.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

namespace lumivex::Pixelation {

namespace {

// One block along one axis, in pixel indices of that axis.
struct Span {
    int outBegin = 0; // the part of the output the block covers
    int outEnd = 0;
    std::int64_t begin = 0; // every index whose pixel centre lies in the block; may reach past the image
    std::int64_t end = 0;
};

// Blocks along an axis of `length` pixels counted from the anchor corner, covering the indices [from, to).
std::vector<Span> spansAlongAxis(int from, int to, double blockSize)
{
    auto blockOf = [blockSize](std::int64_t index) { return std::floor((double(index) + 0.5) / blockSize); };
    std::vector<Span> spans;
    int index = from;
    while (index < to) {
        const double block = blockOf(index);
        Span span;
        span.outBegin = index;
        // Walk to the block's far end arithmetically, then settle the floating-point boundary exactly.
        std::int64_t end = std::max<std::int64_t>(index + 1, std::int64_t(std::ceil((block + 1) * blockSize - 0.5)));
        while (blockOf(end) <= block)
            ++end;
        while (end - 1 > index && blockOf(end - 1) > block)
            --end;
        std::int64_t begin = std::min<std::int64_t>(index, std::int64_t(std::ceil(block * blockSize - 0.5)));
        while (blockOf(begin - 1) >= block)
            --begin;
        while (begin < index && blockOf(begin) < block)
            ++begin;
        span.begin = begin;
        span.end = end;
        span.outEnd = int(std::min<std::int64_t>(end, to));
        spans.push_back(span);
        index = span.outEnd;
    }
    return spans;
}

// How often each real pixel index of an axis of `length` pixels counts in the span, with the indices past
// either edge counted on the edge pixel.
struct Weights {
    int first = 0;
    std::vector<double> weight;
    double total = 0;
};

Weights weightsOf(const Span& span, int length)
{
    Weights w;
    const std::int64_t first = std::clamp<std::int64_t>(span.begin, 0, length - 1);
    const std::int64_t last = std::clamp<std::int64_t>(span.end - 1, 0, length - 1);
    w.first = int(first);
    w.weight.assign(std::size_t(last - first + 1), 1.0);
    w.weight.front() += double(std::max<std::int64_t>(0, std::min<std::int64_t>(span.end, 0) - span.begin));
    w.weight.back() += double(std::max<std::int64_t>(0, span.end - std::max<std::int64_t>(span.begin, length)));
    for (double v : w.weight)
        w.total += v;
    return w;
}

// Rows are counted from the bottom edge, where the grid is anchored.
Span toTopDown(const Span& fromBottom, int height)
{
    Span s;
    s.outBegin = height - fromBottom.outEnd;
    s.outEnd = height - fromBottom.outBegin;
    s.begin = height - fromBottom.end;
    s.end = height - fromBottom.begin;
    return s;
}

bool supportedFormat(QImage::Format format)
{
    return format == QImage::Format_ARGB32_Premultiplied || format == QImage::Format_RGB32;
}

} // namespace

QImage pixelated(const QImage& source, const QRect& output, double blockSize)
{
    if (source.isNull() || !supportedFormat(source.format()) || output.isEmpty() || !source.rect().contains(output)
        || !std::isfinite(blockSize) || !(blockSize > 0))
        return {};
    // A block of at most one pixel holds at most one pixel centre: nothing changes.
    if (blockSize <= 1)
        return source.copy(output);
    // Past the size of any image every block reaches far beyond the edges; bounding it keeps the block
    // arithmetic within 64-bit integers.
    blockSize = std::min(blockSize, 1e7);

    QImage result(output.size(), source.format());
    if (result.isNull())
        return {};
    const int height = source.height();
    const std::vector<Span> columns = spansAlongAxis(output.left(), output.right() + 1, blockSize);
    std::vector<Weights> columnWeights;
    for (const Span& column : columns)
        columnWeights.push_back(weightsOf(column, source.width()));

    const std::vector<Span> rowsFromBottom = spansAlongAxis(height - 1 - output.bottom(), height - output.top(), blockSize);
    std::vector<std::array<double, 4>> columnSums(std::size_t(source.width()));
    for (const Span& fromBottom : rowsFromBottom) {
        const Span rows = toTopDown(fromBottom, height);
        const Weights rowWeights = weightsOf(rows, height);
        // Weighted sums down the block's rows for every column any of the needed blocks reads.
        const int firstColumn = columnWeights.front().first;
        const int endColumn = columnWeights.back().first + int(columnWeights.back().weight.size());
        std::fill(columnSums.begin() + firstColumn, columnSums.begin() + endColumn, std::array<double, 4>{});
        for (std::size_t r = 0; r < rowWeights.weight.size(); ++r) {
            const std::uint8_t* line = source.constScanLine(rowWeights.first + int(r));
            const double weight = rowWeights.weight[r];
            for (int x = firstColumn; x < endColumn; ++x)
                for (int c = 0; c < 4; ++c)
                    columnSums[x][c] += weight * line[4 * x + c];
        }
        const int outTop = std::max(rows.outBegin, output.top());
        const int outBottom = std::min(rows.outEnd, output.bottom() + 1);
        for (std::size_t b = 0; b < columns.size(); ++b) {
            const Weights& cw = columnWeights[b];
            std::array<double, 4> sum{};
            for (std::size_t i = 0; i < cw.weight.size(); ++i)
                for (int c = 0; c < 4; ++c)
                    sum[c] += cw.weight[i] * columnSums[cw.first + int(i)][c];
            std::uint8_t pixel[4];
            const double count = cw.total * rowWeights.total;
            for (int c = 0; c < 4; ++c)
                pixel[c] = std::uint8_t(std::clamp(std::floor(sum[c] / count + 0.5), 0.0, 255.0));
            for (int y = outTop; y < outBottom; ++y) {
                std::uint8_t* line = result.scanLine(y - output.top());
                for (int x = columns[b].outBegin; x < columns[b].outEnd; ++x)
                    std::copy_n(pixel, 4, line + 4 * (x - output.left()));
            }
        }
    }
    return result;
}

} // namespace lumivex::Pixelation
