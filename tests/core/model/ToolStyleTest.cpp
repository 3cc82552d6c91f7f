#include "ModelTestSupport.h"
#include "core/model/TextLayout.h"
#include "core/model/Tool.h"
#include "core/model/ToolStyle.h"

#include <set>

using namespace lumivex;
using namespace lumivex::test;

TEST(Tool, RawValuesShortcutHintsAndKeyCodes)
{
    for (Tool tool : Tools::allCases)
        EXPECT_EQ(Tools::fromRawValue(Tools::rawValue(tool)), tool);
    EXPECT_EQ(Tools::fromRawValue("filledRectangle"), Tool::filledRectangle);
    EXPECT_FALSE(Tools::fromRawValue("Rectangle")); // case-sensitive
    EXPECT_EQ(Tools::shortcutHint(Tool::select), "V");
    EXPECT_EQ(Tools::shortcutHint(Tool::copyText), "X, 9");
    EXPECT_EQ(Tools::keyCodes(Tool::arrow), (std::vector<std::uint16_t>{0, 19}));
    std::set<std::uint16_t> seen; // the canvas picks a tool by key code: no two tools may share one
    for (Tool tool : Tools::allCases)
        for (std::uint16_t code : Tools::keyCodes(tool))
            EXPECT_TRUE(seen.insert(code).second) << "key code " << code << " used twice";
}

TEST(ToolStyle, NextLevelStepsPastTheNearestAndTiesKeepTheLowerOne)
{
    const auto& font = ToolStyle::fontSizeLevels;
    const auto& line = ToolStyle::lineWidthLevels;
    EXPECT_EQ(ToolStyle::nextLevel(28, font), 44);
    EXPECT_EQ(ToolStyle::nextLevel(44, font), 20); // wraps
    EXPECT_EQ(ToolStyle::nextLevel(24, font), 28); // tie between 20 and 28
    EXPECT_EQ(ToolStyle::nextLevel(3.25, line), 4);
    EXPECT_EQ(ToolStyle::nextLevel(6, line), 8);

    ToolStyle style;
    EXPECT_TRUE(style.cycleSize(AnnotationKind::text));
    EXPECT_EQ(style.fontSize, 44);
    EXPECT_FALSE(style.cycleSize(AnnotationKind::blur));
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
    EXPECT_EQ(ToolStyle::syncing(arrow, 0, ToolStyle()).lineWidth, 8); // unit 0 is read as 1

    // An unfilled shape keeps the last fill colour for when fill is switched back on.
    Annotation rect = framed(AnnotationKind::rectangle, {0, 0, 10, 10});
    rect.fillColor = RGBAColor::red;
    ToolStyle().apply(rect, 1);
    EXPECT_FALSE(rect.fillColor);
    ToolStyle base;
    base.fillColor = RGBAColor::white;
    const ToolStyle synced = ToolStyle::syncing(rect, 1, base);
    EXPECT_FALSE(synced.fillEnabled);
    EXPECT_EQ(synced.fillColor, RGBAColor::white);
}

TEST(ToolStyle, ApplyChangesWritesOnlyWhatTheUserTouched)
{
    Annotation rect = framed(AnnotationKind::rectangle, {0, 0, 10, 10});
    rect.lineWidth = 13;
    const ToolStyle old;
    ToolStyle changed = old;
    changed.strokeColor = RGBAColor::white;
    changed.applyChanges(old, rect, 2);
    EXPECT_EQ(rect.strokeColor, RGBAColor::white);
    EXPECT_EQ(rect.lineWidth, 13);
    // A weight change re-measures text from its top-left.
    Annotation text = textBox("Hello", 28, {40, 30});
    ToolStyle medium = changed;
    medium.bold = false;
    medium.applyChanges(changed, text, 1);
    EXPECT_EQ(text.frame, (Rect{Point{40, 30}, TextLayout::frameSize("Hello", 28, false)}));
}
