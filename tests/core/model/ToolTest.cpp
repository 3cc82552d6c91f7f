#include "core/model/Tool.h"

#include <gtest/gtest.h>

#include <set>

using namespace lumivex;

TEST(Tool, RawValuesRoundTripAndAreCaseSensitive)
{
    for (Tool tool : Tools::allCases)
        EXPECT_EQ(Tools::fromRawValue(Tools::rawValue(tool)), tool);
    EXPECT_EQ(Tools::fromRawValue("filledRectangle"), Tool::filledRectangle);
    EXPECT_FALSE(Tools::fromRawValue("Rectangle"));
    EXPECT_FALSE(Tools::fromRawValue(""));
}

TEST(Tool, ShortcutHintsAndKeyCodes)
{
    EXPECT_EQ(Tools::shortcutHint(Tool::select), "V");
    EXPECT_EQ(Tools::shortcutHint(Tool::copyText), "X, 9");
    EXPECT_EQ(Tools::shortcutHint(Tool::filledRectangle), "F, 5");
    EXPECT_EQ(Tools::keyCodes(Tool::select), (std::vector<std::uint16_t>{9}));
    EXPECT_EQ(Tools::keyCodes(Tool::arrow), (std::vector<std::uint16_t>{0, 19}));

    // The canvas picks a tool by key code: no two tools may share one.
    std::set<std::uint16_t> seen;
    for (Tool tool : Tools::allCases)
        for (std::uint16_t code : Tools::keyCodes(tool))
            EXPECT_TRUE(seen.insert(code).second) << "key code " << code << " used twice";
}

TEST(Tool, OnlyDrawingToolsCreateAnnotations)
{
    EXPECT_FALSE(Tools::annotationKind(Tool::select));
    EXPECT_FALSE(Tools::annotationKind(Tool::crop));
    EXPECT_FALSE(Tools::annotationKind(Tool::copyText));
    EXPECT_EQ(Tools::annotationKind(Tool::filledRectangle), AnnotationKind::rectangle);
    EXPECT_TRUE(Tools::fillsByDefault(Tool::filledRectangle));
    EXPECT_FALSE(Tools::cyclesSizeOnRepeat(Tool::filledRectangle));
    EXPECT_TRUE(Tools::cyclesSizeOnRepeat(Tool::rectangle));
}

TEST(Tool, TitleIsTheKoreanKeyWithoutATranslator)
{
    EXPECT_EQ(Tools::title(Tool::ellipse), QString::fromUtf8("원/타원(채움)"));
    EXPECT_EQ(Tools::designIcon(Tool::copyText), "scan-text");
    EXPECT_EQ(Tools::symbol(Tool::filledRectangle), "rectangle.fill");
}
