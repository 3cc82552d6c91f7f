#include "ClipboardImageData.h"

#include "core/render/PngEncoder.h"

#include <QBuffer>
#include <QImageWriter>

namespace lumivex {
namespace {

const QString pngType = QStringLiteral("image/png");
const QString tiffType = QStringLiteral("image/tiff");

} // namespace

ClipboardImageData::ClipboardImageData(QByteArray png, QImage image, double pixelScale)
    : m_png(std::move(png)), m_image(std::move(image)), m_pixelScale(pixelScale)
{
}

QStringList ClipboardImageData::formats() const
{
    return {pngType, tiffType};
}

bool ClipboardImageData::hasFormat(const QString& mimeType) const
{
    return mimeType == pngType || mimeType == tiffType;
}

QVariant ClipboardImageData::retrieveData(const QString& mimeType, QMetaType type) const
{
    Q_UNUSED(type);
    if (mimeType == pngType)
        return m_png;
    if (mimeType == tiffType)
        return tiff();
    return {};
}

QByteArray ClipboardImageData::tiff() const
{
    if (!m_tiff) {
        // The same resolution as the PNG, so a reader derives the same pixel scale from either.
        QImage stamped = m_image;
        const int dpm = int(PngEncoder::dotsPerMetre(m_pixelScale));
        stamped.setDotsPerMeterX(dpm);
        stamped.setDotsPerMeterY(dpm);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "tiff");
        m_tiff = writer.write(stamped) ? buffer.data() : QByteArray();
    }
    return *m_tiff;
}

} // namespace lumivex
