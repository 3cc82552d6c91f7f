// Tool cursors and the hardware key-code table.
#include "CanvasFixture.h"

#include "app/editor/ToolCursor.h"
#include "app/platform/VirtualKeyCodes.h"

namespace lumivex::test {
namespace {

bool hasDarkPixel(const QImage& image, const QRect& area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y).alpha() > 200 && image.pixelColor(x, y).lightness() < 160)
                return true;
    return false;
}

TEST(ToolCursor, SelectIsTheArrowAndEveryOtherToolAPlusWithItsBadge)
{
    EditorDocument doc(LoadedImage{QImage(100, 100, QImage::Format_ARGB32_Premultiplied), 1, {}});
    CanvasView canvas(doc);
    EXPECT_EQ(canvas.cursor().shape(), Qt::ArrowCursor);
    for (const Tool tool : Tools::allCases) {
        if (tool == Tool::select)
            continue;
        SCOPED_TRACE(Tools::rawValue(tool).toStdString());
        doc.setTool(tool);
        EXPECT_EQ(canvas.cursor().shape(), Qt::BitmapCursor);
        EXPECT_EQ(canvas.cursor().hotSpot(), QPoint(10, 10));
        const QImage image = ToolCursor::make(tool);
        ASSERT_EQ(image.size(), QSize(34, 34));
        EXPECT_TRUE(hasDarkPixel(image, QRect(9, 9, 3, 3))) << "the plus sign's centre is the hot spot";
        EXPECT_EQ(image.pixelColor(17, 24).lightness(), 255) << "the badge is a white disc";
        EXPECT_TRUE(hasDarkPixel(image, QRect(18, 18, 12, 12))) << "with the tool's icon in it";
    }
    doc.setTool(Tool::select);
    EXPECT_EQ(canvas.cursor().shape(), Qt::ArrowCursor);
}

TEST(VirtualKeyCodes, X11KeycodesOfAUsKeyboardMapOneToOne)
{
    // Keycodes of the standard evdev keymap against the stored codes of the tool keys, then Return, keypad
    // Enter, BackSpace, Delete, Escape, space and the four arrows.
    const std::pair<quint32, std::uint16_t> keys[] = {
        {27, 15}, {41, 3},  {26, 14}, {33, 35}, {38, 0},  {28, 17},  {56, 11},  {54, 8},   {53, 7},   {55, 9},
        {10, 18}, {11, 19}, {12, 20}, {13, 21}, {14, 23}, {15, 22},  {16, 26},  {17, 28},  {18, 25},  {36, 36},
        {104, 76}, {22, 51}, {119, 117}, {9, 53}, {65, 49}, {113, 123}, {114, 124}, {116, 125}, {111, 126},
    };
    for (const auto& [keycode, virtualCode] : keys)
        EXPECT_EQ(VirtualKeyCodes::fromNativeScanCode(keycode), virtualCode) << keycode;
    EXPECT_FALSE(VirtualKeyCodes::fromNativeScanCode(130)) << "the Hangul key has no ANSI position";
    EXPECT_FALSE(VirtualKeyCodes::fromNativeScanCode(3)) << "below the X11 keycode range";

    int mapped = 0;
    for (quint32 keycode = 0; keycode < 256; ++keycode) {
        if (const auto code = VirtualKeyCodes::fromNativeScanCode(keycode)) {
            ++mapped;
            EXPECT_EQ(VirtualKeyCodes::toNativeScanCode(*code), keycode) << keycode;
        }
    }
    EXPECT_GT(mapped, 100);
}

TEST(VirtualKeyCodes, QtKeysWithoutScanCode)
{
    using namespace VirtualKeyCodes;
    EXPECT_EQ(fromQtKey(Qt::Key_R, {}), 15);
    EXPECT_EQ(fromQtKey(Qt::Key_Dollar, Qt::ShiftModifier), 21) << "Shift+4 on a US layout";
    EXPECT_EQ(fromQtKey(Qt::Key_4, Qt::KeypadModifier), 86) << "keypad 4 is not the digit-row 4";
    EXPECT_EQ(fromQtKey(Qt::Key_Enter, Qt::KeypadModifier), keypadEnter);
    EXPECT_EQ(fromQtKey(Qt::Key_Backspace, {}), deleteKey);
    EXPECT_EQ(fromQtKey(Qt::Key_Delete, {}), forwardDelete);
    EXPECT_FALSE(fromQtKey(0x3131, {}));
}

} // namespace
} // namespace lumivex::test
