// Keys on the canvas: tools by hardware position, size cycling, Escape and Delete, and nudging.
#include "CanvasFixture.h"

#include "core/model/Tool.h"

#include <QClipboard>
#include <QGuiApplication>

namespace lumivex::test {
namespace {

using CanvasKeys = CanvasFixture;

TEST_F(CanvasKeys, LettersAndDigitsChooseTools)
{
    const std::pair<Qt::Key, Tool> keys[] = {
        {Qt::Key_R, Tool::rectangle}, {Qt::Key_F, Tool::filledRectangle}, {Qt::Key_E, Tool::ellipse},
        {Qt::Key_P, Tool::polygon},   {Qt::Key_A, Tool::arrow},           {Qt::Key_T, Tool::text},
        {Qt::Key_B, Tool::blur},      {Qt::Key_C, Tool::crop},            {Qt::Key_X, Tool::copyText},
        {Qt::Key_V, Tool::select},    {Qt::Key_1, Tool::text},            {Qt::Key_2, Tool::arrow},
        {Qt::Key_3, Tool::blur},      {Qt::Key_4, Tool::rectangle},       {Qt::Key_5, Tool::filledRectangle},
        {Qt::Key_6, Tool::ellipse},   {Qt::Key_7, Tool::polygon},         {Qt::Key_8, Tool::crop},
        {Qt::Key_9, Tool::copyText},
    };
    for (const auto& [qtKey, tool] : keys) {
        doc().setTool(Tool::select);
        key(qtKey);
        EXPECT_EQ(doc().tool(), tool) << QKeySequence(qtKey).toString().toStdString();
    }
}

TEST_F(CanvasKeys, ToolsFollowTheKeyPositionNotTheLayout)
{
    // X11 keycode 27 is the key at R's position: on a Korean 2-set layout it types ㄱ, on Dvorak p.
    nativeKey(27, 0x3131, QStringLiteral("ㄱ"));
    EXPECT_EQ(doc().tool(), Tool::rectangle);
    nativeKey(33, Qt::Key_L, QStringLiteral("l")); // P's position
    EXPECT_EQ(doc().tool(), Tool::polygon);
    nativeKey(13, Qt::Key_At, QStringLiteral("@"), Qt::ShiftModifier); // the 4 key with Shift
    EXPECT_EQ(doc().tool(), Tool::rectangle);
}

TEST_F(CanvasKeys, CommandModifiersDoNotChooseTools)
{
    key(Qt::Key_R, Qt::ControlModifier);
    key(Qt::Key_R, Qt::AltModifier);
    key(Qt::Key_R, Qt::MetaModifier);
    EXPECT_EQ(doc().tool(), Tool::select);
}

TEST_F(CanvasKeys, TheDigitOfTheCurrentToolStepsItsSizeOncePerPress)
{
    key(Qt::Key_4);
    ASSERT_EQ(doc().tool(), Tool::rectangle);
    EXPECT_DOUBLE_EQ(doc().style().lineWidth, 4);
    key(Qt::Key_4);
    EXPECT_DOUBLE_EQ(doc().style().lineWidth, 8);
    key(Qt::Key_4, {}, true);
    key(Qt::Key_4, {}, true);
    EXPECT_DOUBLE_EQ(doc().style().lineWidth, 8) << "holding the key down steps only once";
    key(Qt::Key_R);
    EXPECT_DOUBLE_EQ(doc().style().lineWidth, 8) << "the letter only chooses the tool";
    key(Qt::Key_4);
    EXPECT_DOUBLE_EQ(doc().style().lineWidth, 2.5);

    key(Qt::Key_1);
    ASSERT_EQ(doc().tool(), Tool::text);
    key(Qt::Key_1);
    EXPECT_DOUBLE_EQ(doc().style().fontSize, 44);

    const double blurAmount = doc().style().blurAmount;
    key(Qt::Key_3);
    key(Qt::Key_3);
    EXPECT_EQ(doc().tool(), Tool::blur);
    EXPECT_DOUBLE_EQ(doc().style().blurAmount, blurAmount) << "blur does not cycle";
}

TEST_F(CanvasKeys, EscapeReturnsToSelectThenClearsTheSelection)
{
    const Annotation box = place(rectangleAt(Rect(100, 100, 100, 100), true));
    key(Qt::Key_R);
    key(Qt::Key_Escape);
    EXPECT_EQ(doc().tool(), Tool::select);
    doc().select(box.id);
    key(Qt::Key_Escape);
    EXPECT_FALSE(doc().selection());
}

TEST_F(CanvasKeys, DeleteAndBackspaceRemoveTheSelection)
{
    const Annotation first = place(rectangleAt(Rect(100, 100, 100, 100), true));
    const Annotation second = place(rectangleAt(Rect(300, 100, 100, 100), true));
    const std::size_t before = undoCount();
    doc().select(first.id);
    key(Qt::Key_Delete);
    doc().select(second.id);
    key(Qt::Key_Backspace);
    EXPECT_TRUE(annotations().empty());
    EXPECT_EQ(undoCount(), before + 2);
    EXPECT_EQ(lastUndoName(), QStringLiteral("삭제"));
}

TEST_F(CanvasKeys, KeysWaitWhileTheMouseHoldsAGesture)
{
    const Annotation box = place(rectangleAt(Rect(100, 100, 100, 100), true));
    const std::size_t before = undoCount();
    press({150, 150});
    moveTo({170, 160});
    key(Qt::Key_Delete);
    key(Qt::Key_Left);
    release({170, 160});
    EXPECT_EQ(onlyAnnotation().frame, box.frame.translated({20, 10}));
    EXPECT_EQ(undoCount(), before + 1);
    EXPECT_EQ(lastUndoName(), QStringLiteral("이동"));
}

struct NudgeCase {
    QSize imageSize;
    double scale;
};

class Nudge : public CanvasFixture, public ::testing::WithParamInterface<NudgeCase> {};

TEST_P(Nudge, MovesOneOrTenViewPointsAtAnyZoom)
{
    open(GetParam().imageSize, QSize(1056, 656));
    ASSERT_DOUBLE_EQ(canvas().transform().scale, GetParam().scale);
    const Annotation box = place(rectangleAt(Rect(100, 100, 50, 50), true));
    doc().select(box.id);
    const std::size_t before = undoCount();
    const double pixel = 1 / GetParam().scale;

    key(Qt::Key_Left);
    key(Qt::Key_Down);
    key(Qt::Key_Right, Qt::ShiftModifier);
    key(Qt::Key_Up, Qt::ShiftModifier);
    const Rect moved = onlyAnnotation().frame;
    EXPECT_NEAR(moved.x, 100 - pixel + 10 * pixel, 1e-9);
    EXPECT_NEAR(moved.y, 100 + pixel - 10 * pixel, 1e-9);
    EXPECT_EQ(undoCount(), before + 4) << "every press is its own step";
    EXPECT_EQ(lastUndoName(), QStringLiteral("이동"));
}

INSTANTIATE_TEST_SUITE_P(Canvas, Nudge,
                         ::testing::Values(NudgeCase{QSize(1000, 600), 1.0}, NudgeCase{QSize(2000, 1200), 0.5},
                                           NudgeCase{QSize(500, 300), 2.0}));

TEST_F(CanvasKeys, PasteAddsTheClipboardImageAsASticker)
{
    QImage picture(300, 150, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::darkCyan);
    QGuiApplication::clipboard()->setImage(picture);
    key(Qt::Key_R);
    key(Qt::Key_V, Qt::ControlModifier);
    const Annotation sticker = onlyAnnotation();
    ASSERT_EQ(sticker.kind, AnnotationKind::sticker);
    ASSERT_TRUE(sticker.sticker && !sticker.sticker->isEmoji());
    EXPECT_EQ(sticker.sticker->stickerImage()->image().size(), picture.size());
    EXPECT_DOUBLE_EQ(sticker.frame.width / sticker.frame.height, 2.0);
    EXPECT_EQ(doc().tool(), Tool::select);
    EXPECT_EQ(lastUndoName(), QStringLiteral("추가"));
}

TEST_F(CanvasKeys, PasteWithoutAnImageChangesNothing)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("just words"));
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(annotations().empty());
    EXPECT_EQ(undoCount(), 0u);
    EXPECT_EQ(doc().tool(), Tool::select);
}

using TextRegion = CanvasFixture;

TEST_F(TextRegion, DragHandsTheRegionOverInImagePixels)
{
    key(Qt::Key_X);
    dragFrom({100, 100}, {300, 200});
    ASSERT_EQ(copiedRegions().size(), 1u);
    EXPECT_EQ(copiedRegions()[0], Rect(100, 100, 200, 100));
    EXPECT_EQ(canvas().textRegion(), Rect(100, 100, 200, 100)) << "stays visible for a moment";
    EXPECT_TRUE(annotations().empty());
}

TEST_F(TextRegion, IsClampedToThePicture)
{
    key(Qt::Key_X);
    dragFrom({900, 500}, {1020, 620});
    ASSERT_EQ(copiedRegions().size(), 1u);
    EXPECT_EQ(copiedRegions()[0], Rect(900, 500, 100, 100));
}

TEST_F(TextRegion, SmallRegionsAreDropped)
{
    key(Qt::Key_X);
    dragFrom({100, 100}, {107, 300}); // 7 view points wide
    EXPECT_TRUE(copiedRegions().empty());
    EXPECT_FALSE(canvas().textRegion());
}

} // namespace
} // namespace lumivex::test
