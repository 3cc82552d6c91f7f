#pragma once

#include "core/render/ExportError.h"

#include <QImage>
#include <QString>

#include <optional>

namespace lumivex {

class EditorDocument;

// What leaves a document: the finished picture, the picture text recognition reads, and the file. The renderer
// and the exporter sit above the document, so these live here rather than on the document itself.
namespace DocumentOutput {

// The finished picture for copying and saving, drawn with the document's blur cache; none when the canvas
// cannot become a bitmap.
std::optional<QImage> renderFinalImage(const EditorDocument& document);

// What text recognition reads: the base image with every annotation drawn on it, blur regions included, without
// crop, padding or ratio, so it has exactly the base image's size. The base image itself when nothing is drawn.
std::optional<QImage> flattenedImage(const EditorDocument& document);

// Renders the picture and writes it to `path` (JPEG for .jpg and .jpeg, PNG otherwise) at the document's pixel
// scale. Nothing on success; otherwise why, and an existing file at `path` is left as it was.
[[nodiscard]] std::optional<ExportError> write(const EditorDocument& document, const QString& path);

} // namespace DocumentOutput

} // namespace lumivex
