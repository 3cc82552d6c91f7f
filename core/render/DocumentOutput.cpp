#include "core/render/DocumentOutput.h"

#include "core/document/EditorDocument.h"
#include "core/render/ExportFormat.h"
#include "core/render/Exporter.h"
#include "core/render/Renderer.h"

#include <QFileInfo>

namespace lumivex::DocumentOutput {

std::optional<QImage> renderFinalImage(const EditorDocument& document)
{
    return Renderer::makeImage(document.state(), &document.blurCache());
}

std::optional<QImage> flattenedImage(const EditorDocument& document)
{
    const EditorState& state = document.state();
    if (state.annotations.empty())
        return state.image;
    EditorState unframed = state;
    unframed.padding = CanvasPadding{};
    unframed.ratio = CanvasRatio::automatic();
    unframed.cropRect.reset();
    return Renderer::makeImage(unframed, &document.blurCache());
}

std::optional<ExportError> write(const EditorDocument& document, const QString& path)
{
    const std::optional<QImage> image = renderFinalImage(document);
    // A picture that cannot be made is a failed write, never an empty file.
    if (!image)
        return ExportError::couldNotEncode(path, ExportFormat::forExtension(QFileInfo(path).suffix()));
    return Exporter::writeImage(*image, document.pixelScale(), path);
}

} // namespace lumivex::DocumentOutput
