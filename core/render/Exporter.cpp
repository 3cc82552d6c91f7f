#include "Exporter.h"

#include "core/render/AtomicFileWriter.h"
#include "core/render/ClipboardImageData.h"
#include "core/render/FileNaming.h"
#include "core/render/JpegEncoder.h"
#include "core/render/PngEncoder.h"

#include <QClipboard>
#include <QDir>
#include <QFileInfo>

namespace lumivex::Exporter {

std::optional<QByteArray> encode(const QImage& image, const ExportFormat& format, double pixelScale)
{
    if (format.kind() == ExportFormat::Kind::jpeg)
        return JpegEncoder::encode(image, format.quality(), pixelScale);
    return PngEncoder::encode(image, pixelScale, PngEncoder::Effort::compact);
}

bool copyToPasteboard(const QImage& image, double pixelScale, QClipboard* clipboard)
{
    if (!clipboard)
        return false;
    std::optional<QByteArray> png = PngEncoder::encode(image, pixelScale, PngEncoder::Effort::fast);
    if (!png)
        return false;
    clipboard->setMimeData(new ClipboardImageData(std::move(*png), image, pixelScale));
    return true;
}

std::optional<ExportError> writeImage(const QImage& image, double pixelScale, const QString& path)
{
    const ExportFormat format = ExportFormat::forExtension(QFileInfo(path).suffix());
    const std::optional<QByteArray> bytes = encode(image, format, pixelScale);
    if (!bytes)
        return ExportError::couldNotEncode(path, format);
    const AtomicFileWriter::Outcome outcome = AtomicFileWriter::replace(path, *bytes);
    if (!outcome.succeeded())
        return ExportError::couldNotWrite(path, outcome.error);
    return std::nullopt;
}

std::optional<QString> saveAutomatically(const QImage& image, double pixelScale, const QString& folder,
                                         const QDateTime& now)
{
    const std::optional<QByteArray> png = PngEncoder::encode(image, pixelScale, PngEncoder::Effort::compact);
    if (!png)
        return std::nullopt;
    QDir().mkpath(folder); // a failure shows up as a failed write below
    const AtomicFileWriter::Outcome outcome = AtomicFileWriter::createUnderFreeName(
        folder, *png, [&now](int attempt) { return FileNaming::automaticSaveFileName(now, attempt); });
    if (!outcome.succeeded())
        return std::nullopt;
    return outcome.path;
}

} // namespace lumivex::Exporter
