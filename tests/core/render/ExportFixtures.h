#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace lumivex::test {

// Deterministic noise: every channel random, so nothing compresses and every filter and band seam matters.
// With `translucent`, alpha runs through every value including 0 and 255.
QImage noiseImage(int width, int height, QImage::Format format, bool translucent, unsigned seed = 7);

// A valid PNG of the given size whose pixels are all zero, built without ever holding the decoded size in
// memory: one compressed slice of zeros is repeated (a decompression bomb when the size is large).
// colorType: 0 grey, 2 RGB, 6 RGBA; bitDepth 1, 8 or 16 as PNG allows.
QByteArray zeroPng(int width, int height, int bitDepth, int colorType);

QByteArray encodedByQt(const QImage& image, const char* format);

// Every entry of the folder, hidden ones included.
QStringList entriesOf(const QString& folder);

QByteArray readFile(const QString& path);
void writeFile(const QString& path, const QByteArray& bytes);

// A small tmpfs mounted over a fresh temporary folder and unmounted again, for real write failures: a full
// disk (the size given) or a read-only filesystem (remountReadOnly). mounted() is false where the sandbox
// refuses mounts; the tests then skip and say why.
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
