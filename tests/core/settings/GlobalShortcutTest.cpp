#include "core/settings/GlobalShortcut.h"

#include <gtest/gtest.h>

using namespace lumivex;

namespace {

TEST(GlobalShortcutTest, LinuxKeyCapsFollowTheModifierMapping)
{
    const std::vector<std::pair<GlobalShortcut, QString>> cases = {
        {GlobalShortcut(14, 0x120000), "Ctrl+Shift+E"},
        {GlobalShortcut(9, 0xC0000), "Alt+Super+V"},
        {GlobalShortcut(105, 0x100000), "Ctrl+Key105"},
        {GlobalShortcut(49, 0xFFFFFFFF), "Ctrl+Alt+Shift+Super+Space"},
        {GlobalShortcut(36, 0), "↩"},
    };
    for (const auto& [shortcut, expected] : cases)
        EXPECT_EQ(shortcut.displayString(), expected);
    EXPECT_EQ(GlobalShortcut(21, 0x120000).keyCaps(), (QStringList{"Ctrl", "Shift", "4"}));
    EXPECT_EQ(GlobalShortcut(9, 0xC0000).modifiers(), Qt::MetaModifier | Qt::AltModifier);
    EXPECT_EQ(GlobalShortcut::fromQt(9, Qt::MetaModifier | Qt::AltModifier | Qt::KeypadModifier), GlobalShortcut(9, 0xC0000));
}

TEST(GlobalShortcutTest, ConstructionMasksButStoredValuesDecodeAsWritten)
{
    const GlobalShortcut masked(14, 0xFFFFFFFF);
    EXPECT_EQ(masked.modifierFlags(), 0x1E0000u);
    EXPECT_EQ(GlobalShortcut::decoded(masked.encoded()), masked);

    const auto unmasked = GlobalShortcut::decoded(R"({"modifierFlags":65536,"keyCode":-3,"extra":true})");
    ASSERT_TRUE(unmasked);
    EXPECT_EQ(unmasked->keyCode(), -3);
    EXPECT_EQ(unmasked->modifierFlags(), 0x10000u);
    EXPECT_TRUE(unmasked->isValidGlobalShortcut());

    for (const char* broken : {"", "[14, 1]", R"({"keyCode":14})", R"({"keyCode":14.5,"modifierFlags":1})",
                               R"({"keyCode":14,"modifierFlags":-1})", R"({"keyCode":1e300,"modifierFlags":1})",
                               R"({"keyCode":null,"modifierFlags":1})", "\xff\xfe{"})
        EXPECT_FALSE(GlobalShortcut::decoded(broken)) << broken;
}

} // namespace
