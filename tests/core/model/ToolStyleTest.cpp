#include "ModelTestSupport.h"
#include "core/model/TextLayout.h"
#include "core/model/ToolStyle.h"

#include <gtest/gtest.h>

using namespace lumivex;
using lumivex::test::arrowFrom;
using lumivex::test::framed;
using lumivex::test::textBox;

namespace {

const RGBAColor blue{0, 0, 1, 1};
const RGBAColor green{0, 1, 0, 1};

} // namespace

struct LevelCase {
    double value;
    const std::vector<double>* levels;
    double expected;
};

class ToolStyleNextLevel : public testing::TestWithParam<LevelCase> {};

TEST_P(ToolStyleNextLevel, StepsPastTheNearestLevelAndTiesKeepTheLowerOne)
{
    EXPECT_EQ(ToolStyle::nextLevel(GetParam().value, *GetParam().levels), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToolStyleNextLevel,
    testing::Values(LevelCase{28, &ToolStyle::fontSizeLevels, 44}, LevelCase{44, &ToolStyle::fontSizeLevels, 20},
                    LevelCase{24, &ToolStyle::fontSizeLevels, 28}, LevelCase{100, &ToolStyle::fontSizeLevels, 20},
                    LevelCase{3.25, &ToolStyle::lineWidthLevels, 4}, LevelCase{0, &ToolStyle::lineWidthLevels, 4},
                    LevelCase{6, &ToolStyle::lineWidthLevels, 8}));

TEST(ToolStyle, CycleSizeStepsTheSizeThatMattersForTheKind)
{
    ToolStyle style;
    EXPECT_TRUE(style.cycleSize(AnnotationKind::arrow));
    EXPECT_EQ(style.lineWidth, 8);
    EXPECT_TRUE(style.cycleSize(AnnotationKind::text));
    EXPECT_EQ(style.fontSize, 44);
    const ToolStyle before = style;
    EXPECT_FALSE(style.cycleSize(AnnotationKind::blur));
    EXPECT_FALSE(style.cycleSize(AnnotationKind::sticker));
    style.lineWidth = 0; // a hairline is deliberate; cycling would silently thicken it
    EXPECT_FALSE(style.cycleSize(AnnotationKind::rectangle));
    EXPECT_EQ(style.lineWidth, 0);
    EXPECT_EQ(style.fontSize, before.fontSize);
}

TEST(ToolStyle, ApplyScalesSizesByUnitAndSyncingReadsThemBack)
{
    ToolStyle style;
    style.lineWidth = 4;
    style.opacity = 0.5;
    style.arrowBend = 0.3;
    style.outlineWidth = 3;
    Annotation arrow = arrowFrom({0, 0}, {100, 0}, 1);
    style.apply(arrow, 2);
    EXPECT_EQ(arrow.lineWidth, 8);
    EXPECT_EQ(arrow.outlineWidth, 6);
    EXPECT_EQ(arrow.opacity, 0.5);
    EXPECT_EQ(arrow.arrowBend, 0.3);
    EXPECT_EQ(arrow.outlineColor, RGBAColor::white);
    EXPECT_EQ(ToolStyle::syncing(arrow, 2, ToolStyle()), style);

    Annotation blur = framed(AnnotationKind::blur, {0, 0, 50, 50});
    style.cornerRadius = 5;
    style.blurAmount = 10;
    style.blurStyle = BlurStyle::pixelate;
    style.apply(blur, 2);
    EXPECT_EQ(blur.cornerRadius, 10);
    EXPECT_EQ(blur.blurAmount, 20);
    EXPECT_EQ(blur.lineWidth, 4.0); // blur regions have no line width: left alone
    const ToolStyle synced = ToolStyle::syncing(blur, 2, ToolStyle());
    EXPECT_EQ(synced.blurAmount, 10);
    EXPECT_EQ(synced.blurStyle, BlurStyle::pixelate);
    EXPECT_EQ(synced.lineWidth, ToolStyle().lineWidth);
}

TEST(ToolStyle, SyncingAnUnfilledShapeKeepsTheLastFillColour)
{
    ToolStyle noFill;
    noFill.fillEnabled = false;
    Annotation rect = framed(AnnotationKind::rectangle, {0, 0, 10, 10});
    rect.fillColor = green;
    noFill.apply(rect, 1);
    EXPECT_FALSE(rect.fillColor);

    ToolStyle base;
    base.fillColor = blue;
    const ToolStyle synced = ToolStyle::syncing(rect, 1, base);
    EXPECT_FALSE(synced.fillEnabled);
    EXPECT_EQ(synced.fillColor, blue);

    rect.fillColor = green;
    EXPECT_EQ(ToolStyle::syncing(rect, 1, base).fillColor, green);
    EXPECT_TRUE(ToolStyle::syncing(rect, 1, base).fillEnabled);
}

TEST(ToolStyle, SyncingWithoutOutlineWidthKeepsTheBaseWidth)
{
    Annotation arrow = arrowFrom({0, 0}, {100, 0});
    arrow.outlineWidth = 0;
    arrow.outlineColor.reset();
    ToolStyle base;
    base.outlineWidth = 3.5;
    base.outlineColor = blue;
    const ToolStyle synced = ToolStyle::syncing(arrow, 2, base);
    EXPECT_EQ(synced.outlineWidth, 3.5);
    EXPECT_FALSE(synced.outlineEnabled);
    EXPECT_EQ(synced.outlineColor, blue);
}

TEST(ToolStyle, ApplyChangesWritesOnlyWhatTheUserTouched)
{
    // A rectangle whose line width no longer matches the style keeps it when only the colour changes.
    Annotation rect = framed(AnnotationKind::rectangle, {0, 0, 10, 10});
    rect.lineWidth = 13;
    ToolStyle old;
    ToolStyle changed = old;
    changed.strokeColor = blue;
    changed.fontSize = 44; // irrelevant to rectangles
    changed.applyChanges(old, rect, 2);
    EXPECT_EQ(rect.strokeColor, blue);
    EXPECT_EQ(rect.lineWidth, 13);

    ToolStyle wider = changed;
    wider.lineWidth = 8;
    wider.applyChanges(changed, rect, 2);
    EXPECT_EQ(rect.lineWidth, 16);
    EXPECT_EQ(rect.strokeColor, blue);
}

TEST(ToolStyle, TextFrameFollowsSizeChangesButNotColourChanges)
{
    ToolStyle style;
    Annotation text = textBox("Hello", 10, {40, 30});
    style.apply(text, 1);
    EXPECT_EQ(text.fontSize, 28);
    EXPECT_EQ(text.frame.size(), TextLayout::frameSize("Hello", 28, true));
    EXPECT_EQ(text.frame.origin(), (Point{40, 30}));

    text.frame.width += 50; // resized by the user
    const Rect resized = text.frame;
    ToolStyle recoloured = style;
    recoloured.strokeColor = green;
    recoloured.applyChanges(style, text, 1);
    EXPECT_EQ(text.frame, resized);
    EXPECT_EQ(text.strokeColor, green);

    ToolStyle medium = recoloured;
    medium.bold = false;
    medium.applyChanges(recoloured, text, 1);
    EXPECT_FALSE(text.bold);
    EXPECT_EQ(text.frame.origin(), (Point{40, 30}));
    EXPECT_EQ(text.frame.size(), TextLayout::frameSize("Hello", 28, false));
}

TEST(ToolStyle, UnusableUnitIsReadAsOne)
{
    Annotation rect = framed(AnnotationKind::rectangle, {0, 0, 10, 10});
    ToolStyle().apply(rect, 0);
    EXPECT_EQ(rect.lineWidth, 4);
    EXPECT_EQ(ToolStyle::syncing(rect, std::nan(""), ToolStyle()).lineWidth, 4);
}
