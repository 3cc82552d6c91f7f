#include "core/document/EditorState.h"

#include <gtest/gtest.h>

#include <limits>

using namespace lumivex;

namespace {

EditorState stateOf(int width, int height) { return EditorState(QImage(width, height, QImage::Format_Mono)); }

} // namespace

TEST(EditorState, VisibleRectFallsBackToTheWholeImageForUnusableCrops)
{
    EditorState state = stateOf(200, 100);
    EXPECT_EQ(state.visibleRect(), (Rect{0, 0, 200, 100}));
    state.cropRect = Rect{150, 50, 100, 100}; // partly outside
    EXPECT_EQ(state.visibleRect(), (Rect{150, 50, 50, 50}));
    state.cropRect = Rect{10, 10, 0.5, 50}; // narrower than a pixel
    EXPECT_EQ(state.visibleRect(), (Rect{0, 0, 200, 100}));
    state.cropRect = Rect{300, 300, 10, 10}; // outside
    EXPECT_EQ(state.visibleRect(), (Rect{0, 0, 200, 100}));
    state.cropRect = Rect{std::numeric_limits<double>::quiet_NaN(), 0, 10, 10};
    EXPECT_EQ(state.visibleRect(), (Rect{0, 0, 200, 100}));
}

TEST(EditorState, CanvasRectPadsByRoundedAmountThenWidensToTheRatio)
{
    EditorState state = stateOf(200, 100);
    state.cropRect = Rect{0, 0, 100, 100};
    state.padding = CanvasPadding{true, 10.5, RGBAColor::black}; // rounds away from zero to 11
    EXPECT_EQ(state.canvasRect(), (Rect{-11, -11, 122, 122}));
    state.ratio = CanvasRatio::fixed(2, 1);
    EXPECT_EQ(state.canvasRect(), (Rect{-72, -11, 244, 122}));
    state.padding.enabled = false;
    EXPECT_EQ(state.canvasRect(), (Rect{-50, 0, 200, 100}));
}

TEST(EditorState, SameContentIgnoresTheImageButNotAnyContentField)
{
    const EditorState a = stateOf(10, 10);
    EditorState b = stateOf(20, 20);
    EXPECT_TRUE(a.hasSameContent(b));

    b.ratio = CanvasRatio::size(4, 3);
    EXPECT_FALSE(a.hasSameContent(b));
    EditorState c = b;
    c.ratio = CanvasRatio::fixed(4, 3);
    EXPECT_FALSE(c.hasSameContent(b)); // same numbers, other case

    c.annotations.emplace_back(AnnotationKind::ellipse);
    EditorState d = c;
    EXPECT_TRUE(c.hasSameContent(d));
    d.annotations.back().opacity = 0.5;
    EXPECT_FALSE(c.hasSameContent(d));
}
