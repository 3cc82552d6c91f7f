#include "ModelTestSupport.h"
#include "core/model/TextLayout.h"
#include "core/model/ToolStyle.h"

#include <gtest/gtest.h>

using namespace lumivex;
using namespace lumivex::test;

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
    EXPECT_FALSE(style.cycleSize(AnnotationKind::blur));
    style.lineWidth = 0;
    EXPECT_FALSE(style.cycleSize(AnnotationKind::rectangle));
    EXPECT_EQ(style.lineWidth, 0);
}

TEST(ToolStyle, ApplyScalesSizesByUnitAndSyncingReadsThemBack)
{
    ToolStyle style;
    style.opacity = 0.5;
    style.arrowBend = 0.3;
    style.outlineWidth = 3;
    Annotation arrow = arrowFrom({0, 0}, {100, 0}, 1);
    style.apply(arrow, 2);
    EXPECT_EQ(arrow.lineWidth, 8);
    EXPECT_EQ(arrow.outlineWidth, 6);
    EXPECT_EQ(arrow.opacity, 0.5);   // never scaled
    EXPECT_EQ(arrow.arrowBend, 0.3); // never scaled
    EXPECT_EQ(ToolStyle::syncing(arrow, 2, ToolStyle()), style);

    // Without an outline width the base's width stays.
    arrow.outlineWidth = 0;
    arrow.outlineColor.reset();
    ToolStyle base;
    base.outlineWidth = 3.5;
    EXPECT_EQ(ToolStyle::syncing(arrow, 2, base).outlineWidth, 3.5);
    EXPECT_FALSE(ToolStyle::syncing(arrow, 2, base).outlineEnabled);
    // A unit that is no unit (0, NaN) is read as 1 instead of producing infinite or NaN sizes.
    EXPECT_EQ(ToolStyle::syncing(arrow, 0, base).lineWidth, 8);
}

TEST(ToolStyle, SyncingAnUnfilledShapeKeepsTheLastFillColour)
{
    Annotation rect = framed(AnnotationKind::rectangle, {0, 0, 10, 10});
    rect.fillColor = green;
    ToolStyle().apply(rect, 1); // fill off by default
    EXPECT_FALSE(rect.fillColor);
    ToolStyle base;
    base.fillColor = blue;
    const ToolStyle synced = ToolStyle::syncing(rect, 1, base);
    EXPECT_FALSE(synced.fillEnabled);
    EXPECT_EQ(synced.fillColor, blue);
}

TEST(ToolStyle, ApplyChangesWritesOnlyWhatTheUserTouched)
{
    // A rectangle whose line width no longer matches the style keeps it when only the colour changes.
    Annotation rect = framed(AnnotationKind::rectangle, {0, 0, 10, 10});
    rect.lineWidth = 13;
    const ToolStyle old;
    ToolStyle changed = old;
    changed.strokeColor = blue;
    changed.applyChanges(old, rect, 2);
    EXPECT_EQ(rect.strokeColor, blue);
    EXPECT_EQ(rect.lineWidth, 13);

    // Text: a colour change leaves a resized frame alone, a weight change re-measures from the top-left.
    Annotation text = textBox("Hello", 10, {40, 30});
    old.apply(text, 1);
    EXPECT_EQ(text.frame, (Rect{Point{40, 30}, TextLayout::frameSize("Hello", 28, true)}));
    text.frame.width += 50;
    const Rect resized = text.frame;
    changed.applyChanges(old, text, 1);
    EXPECT_EQ(text.frame, resized);
    ToolStyle medium = changed;
    medium.bold = false;
    medium.applyChanges(changed, text, 1);
    EXPECT_EQ(text.frame, (Rect{Point{40, 30}, TextLayout::frameSize("Hello", 28, false)}));
}
