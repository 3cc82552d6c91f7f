// Keys on the canvas: tools by hardware position, size cycling, Escape, nudging. (Commands such as Delete and
// paste are the window's; see EditorWindowTest.)
#include "CanvasFixture.h"

namespace lumivex::test {
namespace {

using CanvasKeys = CanvasFixture;

TEST_F(CanvasKeys, LettersAndDigitsChooseToolsButNotWithCommandModifiers)
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
    doc().setTool(Tool::select);
    for (const auto modifier : {Qt::ControlModifier, Qt::AltModifier, Qt::MetaModifier})
        key(Qt::Key_R, modifier);
    EXPECT_EQ(doc().tool(), Tool::select);
}

TEST_F(CanvasKeys, ToolsFollowTheKeyPositionNotTheLayout)
{
    nativeKey(27, 0x3131, QStringLiteral("ㄱ")); // R's position on a Korean 2-set layout
    EXPECT_EQ(doc().tool(), Tool::rectangle);
    nativeKey(33, Qt::Key_L, QStringLiteral("l")); // P's position on Dvorak
    EXPECT_EQ(doc().tool(), Tool::polygon);
    nativeKey(13, Qt::Key_At, QStringLiteral("@"), Qt::ShiftModifier); // the 4 key with Shift
    EXPECT_EQ(doc().tool(), Tool::rectangle);
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
    key(Qt::Key_1);
    EXPECT_DOUBLE_EQ(doc().style().fontSize, 44);

    const double blurAmount = doc().style().blurAmount;
    key(Qt::Key_3);
    key(Qt::Key_3);
    EXPECT_EQ(doc().tool(), Tool::blur);
    EXPECT_DOUBLE_EQ(doc().style().blurAmount, blurAmount) << "blur does not cycle";
}

TEST_F(CanvasKeys, EscapeLeavesTheToolThenTheSelection)
{
    const Annotation first = place(rectangleAt(Rect(100, 100, 100, 100), true));
    key(Qt::Key_R);
    key(Qt::Key_Escape);
    EXPECT_EQ(doc().tool(), Tool::select) << "first back to selecting";
    doc().select(first.id);
    key(Qt::Key_Escape);
    EXPECT_FALSE(doc().selection()) << "then nothing selected";
}

class Nudge : public CanvasFixture, public ::testing::WithParamInterface<double> {};

TEST_P(Nudge, MovesOneOrTenViewPointsAtAnyZoom)
{
    const double scale = GetParam();
    open(QSize(int(1000 / scale), int(600 / scale)));
    ASSERT_DOUBLE_EQ(canvas().transform().scale, scale);
    doc().select(place(rectangleAt(Rect(100, 100, 50, 50), true)).id);
    const std::size_t before = undoCount();
    key(Qt::Key_Left);
    key(Qt::Key_Down);
    key(Qt::Key_Right, Qt::ShiftModifier);
    key(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_NEAR(onlyAnnotation().frame.x, 100 + 9 / scale, 1e-9);
    EXPECT_NEAR(onlyAnnotation().frame.y, 100 - 9 / scale, 1e-9);
    EXPECT_EQ(undoCount(), before + 4) << "every press is its own step";
    EXPECT_EQ(lastUndoName(), QStringLiteral("이동"));
}

INSTANTIATE_TEST_SUITE_P(Canvas, Nudge, ::testing::Values(1.0, 0.5, 2.0));

TEST_F(CanvasKeys, TextRegionIsHandedOverInImagePixelsClampedToThePicture)
{
    key(Qt::Key_X);
    dragFrom({100, 100}, {107, 300}); // 7 view points wide: dropped
    EXPECT_FALSE(canvas().textRegion());
    dragFrom({100, 100}, {300, 200});
    EXPECT_EQ(canvas().textRegion(), Rect(100, 100, 200, 100)) << "stays visible for a moment";
    dragFrom({900, 500}, {1020, 620});
    EXPECT_EQ(copiedRegions(), (std::vector<Rect>{Rect(100, 100, 200, 100), Rect(900, 500, 100, 100)}));
    EXPECT_TRUE(annotations().empty());
}

} // namespace
} // namespace lumivex::test
