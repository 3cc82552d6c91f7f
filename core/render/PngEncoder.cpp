#include "PngEncoder.h"

#include "core/render/DeflateStreamJoin.h"
#include "core/render/PngRowFilter.h"

#include <QtEndian>

#include <isa-l/igzip_lib.h>
#include <libdeflate.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

namespace lumivex::PngEncoder {
namespace {

constexpr std::array<char, 8> pngSignature = {'\x89', 'P', 'N', 'G', '\r', '\n', '\x1a', '\n'};

// Measured on screenshots with per-row filter choice: on rows of interface and text level 6 writes a quarter to a
// third fewer bytes than level 1 in about the same time (on photos the two are within a few percent either way);
// from level 7 on the time grows much faster than the file shrinks.
constexpr int libdeflateLevel = 6;

constexpr qsizetype maxChunkLength = INT32_MAX;

// Images below this many pixels are encoded on the calling thread: starting a thread would cost more.
constexpr qint64 pixelsWorthABand = qint64(1) << 20;
// Rows of a screenshot differ much in how long they take to compress (a photo against a plain panel), so an
// image is cut into more bands than there are threads, and each thread takes the next band when it is done.
constexpr int bandsPerThread = 4;

// --- Source -----------------------------------------------------------------------------------------------

// The source in one of the three 32-bit layouts the row filter reads; anything else goes through Qt once.
QImage thirtyTwoBitSource(const QImage& image)
{
    switch (image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        return image;
    default:
        return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    }
}

bool everyPixelOpaque(const QImage& image)
{
    if (image.format() == QImage::Format_RGB32)
        return true;
    const int width = image.width();
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        QRgb all = 0xffffffffu;
        for (int x = 0; x < width; ++x)
            all &= row[x];
        if (qAlpha(all) != 255)
            return false;
    }
    return true;
}

// --- Bands ------------------------------------------------------------------------------------------------

struct Band {
    int firstRow;
    int endRow;
};

int threadCount()
{
    return int(std::clamp(std::thread::hardware_concurrency(), 1u, 4u));
}

std::vector<Band> bandsFor(const QImage& image)
{
    const qint64 pixels = qint64(image.width()) * image.height();
    const int count = pixels < pixelsWorthABand ? 1 : std::min(threadCount() * bandsPerThread, image.height());
    std::vector<Band> bands;
    for (int i = 0; i < count; ++i)
        bands.push_back({int(qint64(image.height()) * i / count), int(qint64(image.height()) * (i + 1) / count)});
    return bands;
}

// Runs work(i, context) for every band on up to threadCount() threads, the calling thread among them, each with
// a Context of its own that lives from band to band; true when every call returned true. A thread that cannot be
// started leaves its share to the others; an exception fails the band.
template <typename Context, typename Work>
bool forEachBand(std::size_t bandCount, Work work)
{
    std::atomic<std::size_t> next = 0;
    std::atomic<bool> ok = true;
    auto worker = [&] {
        Context context;
        for (std::size_t band = next++; band < bandCount; band = next++) {
            try {
                if (!work(band, context))
                    ok = false;
            } catch (const std::exception&) { // in practice memory running out
                ok = false;
            }
        }
    };
    std::vector<std::thread> helpers;
    const std::size_t helperCount = std::min<std::size_t>(std::size_t(threadCount()), bandCount) - 1;
    for (std::size_t i = 0; i < helperCount; ++i) {
        try {
            helpers.emplace_back(worker);
        } catch (const std::system_error&) {
            break;
        }
    }
    worker();
    for (std::thread& helper : helpers)
        helper.join();
    return ok;
}

// A buffer kept from band to band, since fresh pages cost the kernel a fault and a clearing each. Left
// uninitialised: whoever uses it writes every byte it reads.
class ScratchBuffer {
public:
    std::uint8_t* atLeast(std::size_t size)
    {
        if (size > m_capacity) {
            m_bytes.reset(new std::uint8_t[size]);
            m_capacity = size;
        }
        return m_bytes.get();
    }

private:
    std::unique_ptr<std::uint8_t[]> m_bytes;
    std::size_t m_capacity = 0;
};

// --- Deflate ----------------------------------------------------------------------------------------------

// One band's piece of the zlib stream: its raw deflate bytes, and the Adler-32 and length of its data.
struct CompressedBand {
    std::vector<std::uint8_t> bytes;
    std::uint32_t adler = 1;
    std::uint64_t length = 0;
};

// What one thread keeps while it encodes band after band.
struct BandWorkspace {
    ScratchBuffer rows;
    ScratchBuffer deflated;
    std::unique_ptr<libdeflate_compressor, decltype(&libdeflate_free_compressor)> compressor{
        nullptr, &libdeflate_free_compressor};
};

// Raw deflate of one band with libdeflate. Every band but the last is made joinable (its final mark removed,
// ended on a byte boundary), so the bands' outputs concatenate into one valid stream; each starts without
// history, which costs a few bytes per band.
bool libdeflateBand(const std::uint8_t* data, std::size_t size, bool last, BandWorkspace& workspace,
                    std::vector<std::uint8_t>& out)
{
    if (!workspace.compressor)
        workspace.compressor.reset(libdeflate_alloc_compressor(libdeflateLevel));
    if (!workspace.compressor)
        return false;
    const std::size_t bound = libdeflate_deflate_compress_bound(workspace.compressor.get(), size);
    std::uint8_t* buffer = workspace.deflated.atLeast(bound);
    const std::size_t written = libdeflate_deflate_compress(workspace.compressor.get(), data, size, buffer, bound);
    if (written == 0)
        return false;
    out.reserve(written + 8);
    out.assign(buffer, buffer + written);
    return last || DeflateStreamJoin::makeJoinable(out);
}

// Raw deflate of one band with igzip level 1. Every band but the last ends in a sync flush (byte-aligned, not
// final), so the bands' outputs concatenate into one valid stream; each band starts without history.
bool igzipBand(const std::uint8_t* data, std::size_t size, bool last, std::vector<std::uint8_t>& out)
{
    std::vector<std::uint8_t> levelBuffer(ISAL_DEF_LVL1_DEFAULT);
    // isal_deflate_init leaves parts of the state as it found them, and level 1 then read stale bytes as
    // pointers: start from zeros.
    isal_zstream stream{};
    isal_deflate_init(&stream);
    stream.level = 1;
    stream.level_buf = levelBuffer.data();
    stream.level_buf_size = std::uint32_t(levelBuffer.size());
    stream.gzip_flag = IGZIP_DEFLATE;
    stream.flush = last ? NO_FLUSH : SYNC_FLUSH;

    // igzip counts in 32 bits, so a gigantic band is fed in slices.
    constexpr std::size_t slice = std::size_t(1) << 30;
    out.resize(size / 4 + 65536);
    std::size_t consumed = 0;
    while (true) {
        if (stream.avail_in == 0 && consumed < size) {
            const std::size_t take = std::min(slice, size - consumed);
            stream.next_in = const_cast<std::uint8_t*>(data + consumed);
            stream.avail_in = std::uint32_t(take);
            consumed += take;
            stream.end_of_stream = last && consumed == size ? 1 : 0;
        }
        if (out.size() - stream.total_out < 65536)
            out.resize(out.size() + out.size() / 2 + 65536);
        stream.next_out = out.data() + stream.total_out;
        stream.avail_out = std::uint32_t(std::min<std::size_t>(out.size() - stream.total_out, UINT32_MAX));
        if (isal_deflate(&stream) != COMP_OK)
            return false;
        // igzip returns early only when the output is full; otherwise all input is consumed and flushed.
        if (consumed == size && stream.avail_in == 0 && stream.avail_out > 0)
            break;
    }
    out.resize(stream.total_out);
    return !last || stream.internal_state.state == ZSTATE_END;
}

// zlib's rule for the Adler-32 of two concatenated pieces from the checksums of each.
std::uint32_t adler32Combined(std::uint32_t first, std::uint32_t second, std::uint64_t secondLength)
{
    constexpr std::uint64_t base = 65521;
    const std::uint64_t remainder = secondLength % base;
    std::uint64_t sum1 = first & 0xffff;
    std::uint64_t sum2 = (remainder * sum1) % base;
    sum1 += (second & 0xffff) + base - 1;
    sum2 += ((first >> 16) & 0xffff) + ((second >> 16) & 0xffff) + base - remainder;
    sum1 %= base;
    sum2 %= base;
    return std::uint32_t(sum1 | (sum2 << 16));
}

// --- Chunks -----------------------------------------------------------------------------------------------

void appendBigEndian(QByteArray& out, quint32 value)
{
    char bytes[4];
    qToBigEndian(value, bytes);
    out.append(bytes, 4);
}

qsizetype beginChunk(QByteArray& out, const char (&type)[5])
{
    const qsizetype start = out.size();
    appendBigEndian(out, 0);
    out.append(type, 4);
    return start;
}

// Closes the chunk that begins at `chunkStart`: fills in its length and appends the CRC.
void finishChunk(QByteArray& out, qsizetype chunkStart)
{
    const qsizetype dataLength = out.size() - chunkStart - 8;
    qToBigEndian(quint32(dataLength), out.data() + chunkStart);
    appendBigEndian(out, libdeflate_crc32(0, out.constData() + chunkStart + 4, std::size_t(dataLength) + 4));
}

// Closes the IDAT chunk at `idat`, whose data runs to the end of `out`; a stream beyond the chunk length limit
// is cut into several chunks (the common case keeps the compressed bytes where they were written).
void finishImageData(QByteArray& out, qsizetype idat)
{
    if (out.size() - idat - 8 <= maxChunkLength) {
        finishChunk(out, idat);
        return;
    }
    const QByteArray stream = out.mid(idat + 8);
    out.truncate(idat);
    for (qsizetype offset = 0; offset < stream.size(); offset += maxChunkLength) {
        const qsizetype chunk = beginChunk(out, "IDAT");
        out.append(stream.constData() + offset, std::min(maxChunkLength, stream.size() - offset));
        finishChunk(out, chunk);
    }
}

void appendHeader(QByteArray& out, const QImage& image, bool opaque, double pixelScale)
{
    out.append(pngSignature.data(), qsizetype(pngSignature.size()));

    qsizetype chunk = beginChunk(out, "IHDR");
    appendBigEndian(out, quint32(image.width()));
    appendBigEndian(out, quint32(image.height()));
    const char depthTypeAndMethods[5] = {8, char(opaque ? 2 : 6), 0, 0, 0}; // 8 bits, RGB or RGBA, no interlace
    out.append(depthTypeAndMethods, 5);
    finishChunk(out, chunk);

    chunk = beginChunk(out, "pHYs");
    const quint32 dpm = dotsPerMetre(pixelScale);
    appendBigEndian(out, dpm);
    appendBigEndian(out, dpm);
    out.append(char(1)); // unit: metre
    finishChunk(out, chunk);
}

// Appends one zlib stream made of the bands' pieces, in order, to `out`.
void appendZlibStream(const std::vector<CompressedBand>& bands, const char (&header)[3], QByteArray& out)
{
    std::uint32_t adler = bands.front().adler;
    qsizetype total = 6;
    for (std::size_t i = 0; i < bands.size(); ++i) {
        if (i > 0)
            adler = adler32Combined(adler, bands[i].adler, bands[i].length);
        total += qsizetype(bands[i].bytes.size());
    }
    out.reserve(out.size() + total + 64);
    out.append(header, 2);
    for (const CompressedBand& band : bands)
        out.append(reinterpret_cast<const char*>(band.bytes.data()), qsizetype(band.bytes.size()));
    appendBigEndian(out, adler);
}

// --- Image data ------------------------------------------------------------------------------------------

// Appends the complete image data (one zlib stream) to `out`: bands of rows are filtered and compressed in
// parallel, and the pieces joined under one zlib header.
bool appendImageData(const QImage& source, bool opaque, Effort effort, QByteArray& out)
{
    const bool compact = effort == Effort::compact;
    const PngRowFilter filter(source, opaque, compact ? PngRowFilter::Choice::perRow : PngRowFilter::Choice::up);
    const std::vector<Band> bands = bandsFor(source);
    std::vector<CompressedBand> compressed(bands.size());
    const bool ok = forEachBand<BandWorkspace>(bands.size(), [&](std::size_t i, BandWorkspace& workspace) {
        CompressedBand& piece = compressed[i];
        piece.length = std::uint64_t(bands[i].endRow - bands[i].firstRow) * filter.stride();
        std::uint8_t* rows = workspace.rows.atLeast(piece.length);
        filter.filterRows(bands[i].firstRow, bands[i].endRow, rows);
        const bool last = i + 1 == bands.size();
        piece.adler = isal_adler32(1, rows, piece.length);
        return compact ? libdeflateBand(rows, piece.length, last, workspace, piece.bytes)
                       : igzipBand(rows, piece.length, last, piece.bytes);
    });
    if (!ok)
        return false;
    // Deflate with a 32 KiB window and the compression level hinted in the check byte (0x789c and 0x7801 are
    // both multiples of 31, as the header requires).
    appendZlibStream(compressed, compact ? "\x78\x9c" : "\x78\x01", out);
    return true;
}

} // namespace

quint32 dotsPerMetre(double pixelScale)
{
    const double scale = std::isfinite(pixelScale) && pixelScale > 0 ? pixelScale : 1.0;
    const double dpm = std::round(72.0 * scale / 0.0254);
    return quint32(std::clamp(dpm, 1.0, double(INT32_MAX)));
}

std::optional<QByteArray> encode(const QImage& image, double pixelScale, Effort effort)
{
    if (image.isNull() || image.width() <= 0 || image.height() <= 0)
        return std::nullopt;
    try {
        const QImage source = thirtyTwoBitSource(image);
        if (source.isNull())
            return std::nullopt;
        const bool opaque = everyPixelOpaque(source);

        QByteArray png;
        appendHeader(png, source, opaque, pixelScale);
        // The stream goes straight into one IDAT chunk, so the compressed bytes are written only once.
        const qsizetype idat = beginChunk(png, "IDAT");
        if (!appendImageData(source, opaque, effort, png))
            return std::nullopt;
        finishImageData(png, idat);
        finishChunk(png, beginChunk(png, "IEND"));
        return png;
    } catch (const std::exception&) { // in practice memory running out
        return std::nullopt;
    }
}

} // namespace lumivex::PngEncoder
