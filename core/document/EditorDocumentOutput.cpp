// The document's output operations: the finished picture, the picture text recognition reads, and writing to a
// file. Kept apart from EditorDocument.cpp, which is about editing.

#include "core/document/EditorDocument.h"

#include "core/render/ExportFormat.h"
#include "core/render/Exporter.h"
#include "core/render/Renderer.h"

#include <QFileInfo>

namespace lumivex {

std::optional<QImage> EditorDocument::renderFinalImage() const { return Renderer::makeImage(m_state, &m_blurCache); }

std::optional<QImage> EditorDocument::flattenedImage() const
{
    if (m_state.annotations.empty())
        return m_state.image;
    EditorState unframed = m_state;
    unframed.padding = CanvasPadding{};
    unframed.ratio = CanvasRatio::automatic();
    unframed.cropRect.reset();
    return Renderer::makeImage(unframed, &m_blurCache);
}

std::optional<ExportError> EditorDocument::write(const QString& path) const
{
    const std::optional<QImage> image = renderFinalImage();
    // A picture that cannot be made is a failed write, never an empty file.
    if (!image)
        return ExportError::couldNotEncode(path, ExportFormat::forExtension(QFileInfo(path).suffix()));
    return Exporter::writeImage(*image, m_pixelScale, path);
}

} // namespace lumivex
