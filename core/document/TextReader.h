#pragma once

#include "core/document/RecognitionError.h"
#include "core/document/RecognizedText.h"
#include "core/geometry/Rect.h"

#include <QImage>

#include <optional>
#include <variant>

namespace lumivex {

class EditorDocument;

using TextResult = std::variant<RecognizedText, RecognitionError>;

// How a document reads its text. Flattening and recognition live in layers above the document, so the
// application installs an implementation (WorkerTextReader in core/analysis) with
// EditorDocument::setDefaultTextReader.
class TextReader {
public:
    virtual ~TextReader() = default;

    // Main thread. The picture to read: the base image with every annotation drawn on it, so text under a blur,
    // a filled shape or a sticker is never read. Nothing when it cannot be made.
    virtual std::optional<QImage> picture(const EditorDocument& document) const = 0;

    // Any thread, possibly several at once. The lines within `region` (base-image pixels; the whole picture
    // without one) in reading order, with rectangles in the picture's pixels.
    virtual TextResult read(const QImage& picture, const std::optional<Rect>& region) const = 0;
};

} // namespace lumivex
