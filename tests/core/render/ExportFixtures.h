#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace lumivex::test {

// Deterministic noise that does not compress; with `translucent`, alpha runs through every value.
QImage noiseImage(int width, int height, QImage::Format format, bool translucent, unsigned seed = 7);

// A valid all-zero PNG built from one repeated compressed slice, so a large size makes a decompression bomb.
// colorType: 0 grey, 2 RGB, 6 RGBA; bitDepth 1, 8 or 16.
QByteArray zeroPng(int width, int height, int bitDepth, int colorType);

QByteArray encodedByQt(const QImage& image, const char* format);

// Appends one PNG chunk (length, type, data, CRC) to `png`.
void appendChunk(QByteArray& png, const char* type, const QByteArray& data);

// Every entry, hidden ones included.
QStringList entriesOf(const QString& folder);

QByteArray readFile(const QString& path);
void writeFile(const QString& path, const QByteArray& bytes);

// A tmpfs of the given size over a fresh temporary folder, for a full disk or (remounted) a read-only one.
// mounted() is false where mounts are refused.
class ScratchMount {
public:
    explicit ScratchMount(qint64 sizeBytes);
    ~ScratchMount();
    ScratchMount(const ScratchMount&) = delete;
    ScratchMount& operator=(const ScratchMount&) = delete;

    bool mounted() const { return m_mounted; }
    QString path() const { return m_dir.path(); }
    bool remountReadOnly();

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};

} // namespace lumivex::test
