#include "ExportFixtures.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QtEndian>

#include <isa-l/igzip_lib.h>
#include <libdeflate.h>

#include <random>
#include <vector>

#include <sys/mount.h>

namespace lumivex::test {

void appendChunk(QByteArray& png, const char* type, const QByteArray& data)
{
    char length[4];
    qToBigEndian(quint32(data.size()), length);
    png.append(length, 4);
    const QByteArray typed = QByteArray(type, 4) + data;
    png.append(typed);
    char crc[4];
    qToBigEndian(quint32(libdeflate_crc32(0, typed.constData(), size_t(typed.size()))), crc);
    png.append(crc, 4);
}

namespace {

// Raw deflate of `length` zero bytes; `final` closes the stream, otherwise the output ends byte-aligned with
// a sync flush so that copies of it can follow one another.
QByteArray deflatedZeros(size_t length, bool final)
{
    std::vector<uint8_t> zeros(length, 0), out(length / 8 + 65536), levelBuffer(ISAL_DEF_LVL1_DEFAULT);
    isal_zstream stream{};
    isal_deflate_init(&stream);
    stream.level = 1;
    stream.level_buf = levelBuffer.data();
    stream.level_buf_size = uint32_t(levelBuffer.size());
    stream.flush = final ? NO_FLUSH : SYNC_FLUSH;
    stream.end_of_stream = final ? 1 : 0;
    stream.next_in = zeros.data();
    stream.avail_in = uint32_t(length);
    stream.next_out = out.data();
    stream.avail_out = uint32_t(out.size());
    isal_deflate(&stream);
    return QByteArray(reinterpret_cast<const char*>(out.data()), qsizetype(stream.total_out));
}

} // namespace

QImage noiseImage(int width, int height, QImage::Format format, bool translucent, unsigned seed)
{
    std::mt19937 random(seed);
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int alpha = translucent ? int((x + y * width) % 256) : 255;
            row[x] = qRgba(int(random() & 255), int(random() & 255), int(random() & 255), alpha);
        }
    }
    return image.convertToFormat(format);
}

QByteArray zeroPng(int width, int height, int bitDepth, int colorType)
{
    const int channels = colorType == 6 ? 4 : colorType == 2 ? 3 : 1;
    const quint64 rowBytes = 1 + (quint64(width) * channels * bitDepth + 7) / 8;
    const quint64 total = rowBytes * quint64(height);

    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    QByteArray header(13, '\0');
    qToBigEndian(quint32(width), header.data());
    qToBigEndian(quint32(height), header.data() + 4);
    header[8] = char(bitDepth);
    header[9] = char(colorType);
    appendChunk(png, "IHDR", header);

    constexpr quint64 slice = quint64(1) << 24;
    const QByteArray repeated = deflatedZeros(slice, false);
    QByteArray stream("\x78\x01", 2);
    for (quint64 done = 0; done + slice < total; done += slice)
        stream.append(repeated);
    stream.append(deflatedZeros(size_t(total % slice == 0 ? slice : total % slice), true));
    // Adler-32 of n zero bytes: the first sum stays 1, the second grows by 1 per byte.
    char adler[4];
    qToBigEndian(quint32(((total % 65521) << 16) | 1), adler);
    stream.append(adler, 4);
    appendChunk(png, "IDAT", stream);
    appendChunk(png, "IEND", {});
    return png;
}

QByteArray encodedByQt(const QImage& image, const char* format)
{
    QBuffer buffer;
    image.save(&buffer, format);
    return buffer.data();
}

QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly) && file.write(bytes);
}

ScratchMount::ScratchMount(qint64 sizeBytes)
{
    const QByteArray options = "size=" + QByteArray::number(sizeBytes) + ",mode=0700";
    m_mounted = m_dir.isValid()
        && ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0, options.constData()) == 0;
}

ScratchMount::~ScratchMount()
{
    if (m_mounted)
        ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
}

bool ScratchMount::remountReadOnly()
{
    return ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr)
        == 0;
}

} // namespace lumivex::test
