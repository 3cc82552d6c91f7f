#include "core/document/EditorDocument.h"

#include "support/TestImages.h"

#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace lumivex;

namespace {

class DocumentOutput : public testing::Test {
protected:
    DocumentOutput() : document(LoadedImage{test::screenshotLikeImage(200, 150), 2, QStringLiteral("shot")}) {}

    void addBlueSquareAt(Rect frame)
    {
        Annotation square(AnnotationKind::rectangle);
        square.frame = frame;
        square.fillColor = RGBAColor{0, 0, 1, 1};
        square.lineWidth = 0;
        document.add(square);
    }

    EditorDocument document;
    QTemporaryDir folder;
};

} // namespace

TEST_F(DocumentOutput, FlattenedImageIsTheBaseWithItsAnnotationsUnframed)
{
    const std::optional<QImage> bare = document.flattenedImage();
    ASSERT_TRUE(bare.has_value());
    EXPECT_EQ(bare->constBits(), document.state().image.constBits()); // the base itself, not a copy

    addBlueSquareAt({10, 10, 20, 20});
    Annotation blur(AnnotationKind::blur);
    blur.frame = {100, 60, 60, 40};
    document.add(blur);
    document.setPadding(CanvasPadding{true, 30, RGBAColor::black});
    document.setRatio(CanvasRatio::fixed(1, 1));
    document.perform(QStringLiteral("crop"), [](EditorState& s) { s.cropRect = Rect{50, 40, 100, 80}; });

    const std::optional<QImage> flat = document.flattenedImage();
    ASSERT_TRUE(flat.has_value());
    EXPECT_EQ(flat->size(), QSize(200, 150));
    EXPECT_EQ(flat->pixel(15, 15), qRgb(0, 0, 255)); // outside the crop, at its own image position
    EXPECT_NE(flat->pixel(130, 80), document.state().image.pixel(130, 80));
    EXPECT_EQ(document.blurCache().count(), 1u);

    const std::optional<QImage> final = document.renderFinalImage();
    ASSERT_TRUE(final.has_value());
    EXPECT_EQ(final->size(), QSize(160, 160)); // the crop grown by 30 on every side, squared
    EXPECT_EQ(document.blurCache().count(), 1u);   // the same patch, from the document's cache
}

TEST_F(DocumentOutput, WritesAFileQtReadsBack)
{
    addBlueSquareAt({0, 0, 40, 40});
    for (const QString& name : {QStringLiteral("out.png"), QStringLiteral("out.JPG")}) {
        const QString path = folder.filePath(name);
        ASSERT_FALSE(document.write(path).has_value());
        const QImage read(path);
        ASSERT_FALSE(read.isNull()) << name.toStdString();
        EXPECT_EQ(read.size(), QSize(200, 150));
        EXPECT_EQ(QImageReader::imageFormat(path), name.endsWith("png") ? QByteArray("png") : QByteArray("jpeg"));
        EXPECT_NEAR(qBlue(read.pixel(20, 20)), 255, 8);
    }
}

TEST_F(DocumentOutput, AFailedWriteSaysWhyAndLeavesTheOldFile)
{
    const QString existing = folder.filePath(QStringLiteral("kept.png"));
    {
        QFile file(existing);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("old");
    }
    // No canvas can be made of padding this wide: that is a failed write, not an empty file.
    document.setPadding(CanvasPadding{true, 1e9, RGBAColor::white});
    const std::optional<ExportError> unrendered = document.write(existing);
    ASSERT_TRUE(unrendered.has_value());
    EXPECT_EQ(unrendered->kind(), ExportError::Kind::couldNotEncode);
    EXPECT_FALSE(unrendered->message().isEmpty());
    QFile file(existing);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("old"));

    document.setPadding(CanvasPadding{});
    const std::optional<ExportError> unwritable = document.write(folder.filePath(QStringLiteral("missing/out.png")));
    ASSERT_TRUE(unwritable.has_value());
    EXPECT_EQ(unwritable->kind(), ExportError::Kind::couldNotWrite);
}
