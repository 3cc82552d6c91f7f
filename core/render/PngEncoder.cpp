#include "PngEncoder.h"

#include "core/render/PngRowFilter.h"

#include <QtEndian>

#include <isa-l/igzip_lib.h>
#include <libdeflate.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <future>
#include <memory>
#include <new>
#include <thread>
#include <vector>

namespace lumivex::PngEncoder {
namespace {

constexpr std::array<char, 8> pngSignature = {'\x89', 'P', 'N', 'G', '\r', '\n', '\x1a', '\n'};

// With per-row filter choice, libdeflate's fastest level already beats Qt's default writer (zlib level 6) on
// size for screenshots; the higher levels cost much more time than the few bytes they save.
constexpr int libdeflateLevel = 1;

constexpr qsizetype maxChunkLength = INT32_MAX;

// Images below this many pixels are encoded on the calling thread: starting a thread would cost more.
constexpr qint64 pixelsWorthABand = qint64(1) << 20;

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

std::vector<Band> bandsFor(const QImage& image)
{
    const qint64 pixels = qint64(image.width()) * image.height();
    const int threads = int(std::clamp(std::thread::hardware_concurrency(), 1u, 4u));
    const int count = pixels < pixelsWorthABand ? 1 : std::min(threads, image.height());
    std::vector<Band> bands;
    for (int i = 0; i < count; ++i)
        bands.push_back({int(qint64(image.height()) * i / count), int(qint64(image.height()) * (i + 1) / count)});
    return bands;
}

// Runs work(i) for every band, the last on the calling thread; true when every call returned true. A thread
// that cannot be started leaves its band to the calling thread; an exception fails the band.
template <typename Work>
bool forEachBand(std::size_t bandCount, Work work)
{
    auto guarded = [&work](std::size_t band) {
        try {
            return work(band);
        } catch (const std::exception&) { // in practice memory running out
            return false;
        }
    };
    std::vector<std::future<bool>> others;
    std::vector<std::size_t> onThisThread;
    for (std::size_t band = 0; band + 1 < bandCount; ++band) {
        try {
            others.push_back(std::async(std::launch::async, guarded, band));
        } catch (const std::system_error&) {
            onThisThread.push_back(band);
        }
    }
    onThisThread.push_back(bandCount - 1);
    bool ok = true;
    for (std::size_t band : onThisThread)
        ok = guarded(band) && ok;
    for (auto& other : others)
        ok = other.get() && ok;
    return ok;
}

// --- Deflate ----------------------------------------------------------------------------------------------

struct FilteredData {
    std::unique_ptr<std::uint8_t[]> bytes; // left uninitialised: the filter writes every byte
    std::size_t size = 0;
};

// Appends one zlib stream of the whole data to `out`.
bool appendLibdeflateZlib(const FilteredData& data, QByteArray& out)
{
    std::unique_ptr<libdeflate_compressor, decltype(&libdeflate_free_compressor)> compressor(
        libdeflate_alloc_compressor(libdeflateLevel), &libdeflate_free_compressor);
    if (!compressor)
        return false;
    const qsizetype start = out.size();
    const std::size_t bound = libdeflate_zlib_compress_bound(compressor.get(), data.size);
    out.resize(start + qsizetype(bound));
    const std::size_t written
        = libdeflate_zlib_compress(compressor.get(), data.bytes.get(), data.size, out.data() + start, bound);
    if (written == 0)
        return false;
    out.resize(start + qsizetype(written));
    return true;
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

// --- The two encoders -------------------------------------------------------------------------------------
// Both append the complete image data (one zlib stream) to `out`.

// Filters in parallel bands, then compresses the whole buffer at once (libdeflate has no streaming API).
bool appendCompactImageData(const QImage& source, bool opaque, QByteArray& out)
{
    const PngRowFilter filter(source, opaque, PngRowFilter::Choice::perRow);
    FilteredData data;
    data.size = filter.stride() * std::size_t(source.height());
    data.bytes.reset(new std::uint8_t[data.size]);
    const std::vector<Band> bands = bandsFor(source);
    const bool filtered = forEachBand(bands.size(), [&](std::size_t i) {
        filter.filterRows(bands[i].firstRow, bands[i].endRow,
                          data.bytes.get() + std::size_t(bands[i].firstRow) * filter.stride());
        return true;
    });
    return filtered && appendLibdeflateZlib(data, out);
}

// Each band is filtered and compressed on its own thread; the pieces are joined under one zlib header.
bool appendFastImageData(const QImage& source, bool opaque, QByteArray& out)
{
    const PngRowFilter filter(source, opaque, PngRowFilter::Choice::up);
    const std::vector<Band> bands = bandsFor(source);
    std::vector<std::vector<std::uint8_t>> compressed(bands.size());
    std::vector<std::uint32_t> checksums(bands.size());
    std::vector<std::uint64_t> lengths(bands.size());
    const bool ok = forEachBand(bands.size(), [&](std::size_t i) {
        lengths[i] = std::uint64_t(bands[i].endRow - bands[i].firstRow) * filter.stride();
        std::unique_ptr<std::uint8_t[]> rows(new std::uint8_t[lengths[i]]);
        filter.filterRows(bands[i].firstRow, bands[i].endRow, rows.get());
        checksums[i] = isal_adler32(1, rows.get(), lengths[i]);
        return igzipBand(rows.get(), lengths[i], i + 1 == bands.size(), compressed[i]);
    });
    if (!ok)
        return false;

    std::uint32_t adler = checksums[0];
    qsizetype total = 6;
    for (std::size_t i = 0; i < bands.size(); ++i) {
        if (i > 0)
            adler = adler32Combined(adler, checksums[i], lengths[i]);
        total += qsizetype(compressed[i].size());
    }
    out.reserve(out.size() + total + 64);
    out.append("\x78\x01", 2); // deflate with a 32 KiB window, fastest-compression hint; 0x7801 % 31 == 0
    for (const auto& piece : compressed)
        out.append(reinterpret_cast<const char*>(piece.data()), qsizetype(piece.size()));
    appendBigEndian(out, adler);
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
        const bool written = effort == Effort::compact ? appendCompactImageData(source, opaque, png)
                                                       : appendFastImageData(source, opaque, png);
        if (!written)
            return std::nullopt;
        finishImageData(png, idat);
        finishChunk(png, beginChunk(png, "IEND"));
        return png;
    } catch (const std::exception&) { // in practice memory running out
        return std::nullopt;
    }
}

} // namespace lumivex::PngEncoder
