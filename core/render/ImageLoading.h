#pragma once

#include "core/document/LoadedImage.h"
#include "core/render/LoadError.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <variant>

class QClipboard;
class QMimeData;

namespace lumivex::ImageLoading {

// Every loader decodes the first image of its source into Format_ARGB32_Premultiplied in sRGB and derives the
// pixel scale from the horizontal resolution the file states: max(round(dpi / 72), 1), or 1 when none is stated.
// Only pictures with a real non-sRGB colour profile are converted; every sRGB picture passes through exactly.
// Garbage, truncated files and images whose header declares more than maxSide pixels on a side or more than
// maxPixels in all load as nothing; the size is checked before anything is decoded, so a small file that
// declares a gigantic picture costs nothing.
inline constexpr int maxSide = 32768;
inline constexpr qint64 maxPixels = qint64(1) << 28;

using LoadResult = std::variant<LoadedImage, LoadError>;

// A file; the name is its file name without the last extension. Only a regular file is read: a folder, a pipe
// or a device gives an error at once, without blocking.
LoadResult loadFile(const QString& path);
// The same, without saying why it failed.
std::optional<LoadedImage> load(const QString& path);

// Encoded bytes, under the given name.
std::optional<LoadedImage> load(const QByteArray& data, const QString& name);

// The clipboard, trying in order: "image/png" data, "image/tiff" data (each named "clipboard"; data that does
// not decode moves on), the local files of "text/uri-list" (the first that decodes, under its own name), and
// any other image Qt reads from the clipboard (scale = its device pixel ratio, at least 1; "clipboard").
std::optional<LoadedImage> load(const QClipboard* clipboard);

// The same order as for the clipboard, for dropped or pasted mime data.
std::optional<LoadedImage> load(const QMimeData* mimeData);

// max(round(dpi / 72), 1) for a stated resolution in dots per metre; 1 when none (0 or less) is stated.
double scaleForDotsPerMetre(double dotsPerMetre);

} // namespace lumivex::ImageLoading
