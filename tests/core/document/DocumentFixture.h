#pragma once

#include "core/document/EditorDocument.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

namespace lumivex::test {

// A document over a blank image whose coalescing clock only moves when the test says so.
class DocumentFixture : public testing::Test {
protected:
    DocumentFixture() { open(800, 600); }

    void open(int width, int height, QImage::Format format = QImage::Format_Mono)
    {
        QImage image(width, height, format);
        image.fill(0);
        document = std::make_unique<EditorDocument>(LoadedImage{image, 2, QStringLiteral("test")});
        document->setClock([this] { return now; });
    }

    void advanceSeconds(double s) { now += std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::duration<double>(s)); }

    QUuid addRectangle(Rect frame)
    {
        Annotation rectangle(AnnotationKind::rectangle);
        rectangle.frame = frame;
        document->add(rectangle);
        return rectangle.id;
    }

    void setLineWidth(double width)
    {
        ToolStyle style = document->style();
        style.lineWidth = width;
        document->setStyle(style);
    }

    std::size_t undoSteps() const { return document->undoStack().undoSteps().size(); }

    std::unique_ptr<EditorDocument> document;
    std::chrono::steady_clock::time_point now{};
};

} // namespace lumivex::test
