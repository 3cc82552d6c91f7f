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
}

TEST(Tool, ShortcutHintsAndKeyCodes)
{
    EXPECT_EQ(Tools::shortcutHint(Tool::select), "V");
    EXPECT_EQ(Tools::shortcutHint(Tool::copyText), "X, 9");
    EXPECT_EQ(Tools::keyCodes(Tool::select), (std::vector<std::uint16_t>{9}));
    EXPECT_EQ(Tools::keyCodes(Tool::arrow), (std::vector<std::uint16_t>{0, 19}));
    // The canvas picks a tool by key code: no two tools may share one.
    std::set<std::uint16_t> seen;
    for (Tool tool : Tools::allCases)
        for (std::uint16_t code : Tools::keyCodes(tool))
            EXPECT_TRUE(seen.insert(code).second) << "key code " << code << " used twice";
}
