#include "core/render/DocumentOutput.h"

#include "core/document/EditorDocument.h"

#include "ExportFixtures.h"
#include "samples/TestImages.h"

#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace lumivex;

class DocumentOutputTest : public testing::Test {
protected:
    DocumentOutputTest() : document(LoadedImage{test::screenshotLikeImage(200, 150), 2, QStringLiteral("shot")})
    {
        Annotation square(AnnotationKind::rectangle);
        square.frame = {10, 10, 20, 20};
        square.fillColor = RGBAColor{0, 0, 1, 1};
        square.lineWidth = 0;
        document.add(square);
    }

    EditorDocument document;
    QTemporaryDir folder;
};

TEST_F(DocumentOutputTest, FlattenedImageIsUnframedAndFinalImageIsFramedBothFromOneCache)
{
    Annotation blur(AnnotationKind::blur);
    blur.frame = {100, 60, 60, 40};
    document.add(blur);
    document.setPadding(CanvasPadding{true, 30, RGBAColor::black});
    document.setRatio(CanvasRatio::fixed(1, 1));
    document.perform(QStringLiteral("crop"), [](EditorState& s) { s.cropRect = Rect{50, 40, 100, 80}; });

    const std::optional<QImage> flat = DocumentOutput::flattenedImage(document);
    ASSERT_TRUE(flat);
    EXPECT_EQ(flat->size(), QSize(200, 150));
    EXPECT_EQ(flat->pixel(15, 15), qRgb(0, 0, 255)); // outside the crop, at its own image position
    EXPECT_NE(flat->pixel(130, 80), document.state().image.pixel(130, 80));
    EXPECT_EQ(document.blurCache().count(), 1u);
    const std::optional<QImage> final = DocumentOutput::renderFinalImage(document);
    ASSERT_TRUE(final);
    EXPECT_EQ(final->size(), QSize(160, 160)); // the crop grown by 30 on every side, squared
    EXPECT_EQ(document.blurCache().count(), 1u);

    EditorDocument bare(LoadedImage{test::screenshotLikeImage(20, 10), 1, QStringLiteral("bare")});
    EXPECT_EQ(DocumentOutput::flattenedImage(bare)->constBits(), bare.state().image.constBits()); // the base itself, no copy
}

TEST_F(DocumentOutputTest, WritesFilesQtReadsBackOrSaysWhyNot)
{
    for (const QString& name : {QStringLiteral("out.png"), QStringLiteral("out.JPG")}) {
        const QString path = folder.filePath(name);
        ASSERT_FALSE(DocumentOutput::write(document, path));
        const QImage read(path);
        EXPECT_EQ(read.size(), QSize(200, 150)) << name.toStdString();
        EXPECT_EQ(QImageReader::imageFormat(path), name.endsWith("png") ? QByteArray("png") : QByteArray("jpeg"));
        EXPECT_NEAR(qBlue(read.pixel(20, 20)), 255, 8);
    }
    // No canvas can be made of padding this wide: a failed write, not an empty file.
    const QString existing = folder.filePath(QStringLiteral("kept.png"));
    test::writeFile(existing, "old");
    document.setPadding(CanvasPadding{true, 1e9, RGBAColor::white});
    const std::optional<ExportError> unrendered = DocumentOutput::write(document, existing);
    ASSERT_TRUE(unrendered);
    EXPECT_EQ(unrendered->kind(), ExportError::Kind::couldNotEncode);
    EXPECT_FALSE(unrendered->message().isEmpty());
    EXPECT_EQ(test::readFile(existing), "old");
}
