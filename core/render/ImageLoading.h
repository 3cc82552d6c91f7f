#pragma once

#include "core/document/LoadedImage.h"

#include <QByteArray>
#include <QString>

#include <optional>

class QClipboard;
class QMimeData;

namespace lumivex::ImageLoading {

// Every loader decodes the first image of its source into Format_ARGB32_Premultiplied in sRGB and derives the
// pixel scale from the stated horizontal resolution: max(round(dpi / 72), 1), or 1 when none is stated.
// Garbage, truncated files and images whose header declares more than maxSide pixels on a side or more than
// maxPixels in all load as nothing; the size is checked before anything is decoded, so a small file that
// declares a gigantic picture costs nothing.
inline constexpr int maxSide = 32768;
inline constexpr qint64 maxPixels = qint64(1) << 28;

// A file; the name is its file name without the last extension.
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
