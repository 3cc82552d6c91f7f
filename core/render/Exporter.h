#pragma once

#include "core/render/ExportError.h"
#include "core/render/ExportFormat.h"

#include <QByteArray>
#include <QDateTime>
#include <QImage>
#include <QString>

#include <optional>

class QClipboard;

namespace lumivex::Exporter {

// The encoded file bytes, stating 72 x pixelScale dots per inch; nothing when encoding fails.
std::optional<QByteArray> encode(const QImage& image, const ExportFormat& format, double pixelScale);

// Puts the image on the clipboard as "image/png", then "image/tiff". The PNG is encoded first, with the fast
// encoder; when that fails the clipboard keeps what it held and the result is false.
bool copyToPasteboard(const QImage& image, double pixelScale, QClipboard* clipboard);

// Writes the image to `path`: JPEG at quality 0.92 for the extensions jpg and jpeg (any letter case), PNG bytes
// under any other name. The write is atomic and the file readable by its owner only. Nothing on success; on
// failure an error telling encoding from writing apart, and an existing file at `path` is left as it was.
[[nodiscard]] std::optional<ExportError> writeImage(const QImage& image, double pixelScale, const QString& path);

// The automatic save after a copy: a PNG in `folder` (created with its parents when missing) named
// "<captureName(now)>.png", or "<captureName(now)> 2.png", " 3.png", ... when the name is taken. Taking the
// name is atomic, so two saves in the same second never overwrite each other. The written path, or nothing.
std::optional<QString> saveAutomatically(const QImage& image, double pixelScale, const QString& folder,
                                         const QDateTime& now);

} // namespace lumivex::Exporter
