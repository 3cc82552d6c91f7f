#include "app/platform/VirtualKeyCodes.h"

#include <array>
#include <utility>

namespace lumivex::VirtualKeyCodes {

namespace {

// X11 keycodes are evdev codes shifted by 8 (the X protocol reserves keycodes below 8).
constexpr quint32 x11KeycodeOffset = 8;

struct KeyPosition {
    quint16 evdev;
    std::uint16_t virtualCode;
};

// Every key with an ANSI (or JIS) position, by its Linux input event code. Modifier keys follow the modifier
// mapping of the whole program: Ctrl plays Command, Super plays Control, Alt plays Option.
constexpr std::array kPositions = {
    // letters
    KeyPosition{30, 0},   KeyPosition{31, 1},   KeyPosition{32, 2},   KeyPosition{33, 3},   // a s d f
    KeyPosition{35, 4},   KeyPosition{34, 5},   KeyPosition{44, 6},   KeyPosition{45, 7},   // h g z x
    KeyPosition{46, 8},   KeyPosition{47, 9},   KeyPosition{48, 11},  KeyPosition{16, 12},  // c v b q
    KeyPosition{17, 13},  KeyPosition{18, 14},  KeyPosition{19, 15},  KeyPosition{21, 16},  // w e r y
    KeyPosition{20, 17},  KeyPosition{24, 31},  KeyPosition{22, 32},  KeyPosition{23, 34},  // t o u i
    KeyPosition{25, 35},  KeyPosition{38, 37},  KeyPosition{36, 38},  KeyPosition{37, 40},  // p l j k
    KeyPosition{49, 45},  KeyPosition{50, 46},                                              // n m
    // digit row
    KeyPosition{2, 18},   KeyPosition{3, 19},   KeyPosition{4, 20},   KeyPosition{5, 21},   // 1 2 3 4
    KeyPosition{7, 22},   KeyPosition{6, 23},   KeyPosition{10, 25},  KeyPosition{8, 26},   // 6 5 9 7
    KeyPosition{9, 28},   KeyPosition{11, 29},                                              // 8 0
    // punctuation
    KeyPosition{13, 24},  KeyPosition{12, 27},  KeyPosition{27, 30},  KeyPosition{26, 33},  // = - ] [
    KeyPosition{40, 39},  KeyPosition{39, 41},  KeyPosition{43, 42},  KeyPosition{51, 43},  // ' ; \ ,
    KeyPosition{53, 44},  KeyPosition{52, 47},  KeyPosition{41, 50},  KeyPosition{86, 10},  // / . ` ISO section
    // editing and whitespace
    KeyPosition{28, returnKey}, KeyPosition{15, tab}, KeyPosition{57, space}, KeyPosition{14, deleteKey},
    KeyPosition{1, escape},
    // modifiers
    KeyPosition{97, 54},  KeyPosition{29, 55},  KeyPosition{42, 56},  KeyPosition{58, 57},  // RCtrl LCtrl LShift Caps
    KeyPosition{56, 58},  KeyPosition{125, 59}, KeyPosition{54, 60},  KeyPosition{100, 61}, // LAlt LSuper RShift RAlt
    KeyPosition{126, 62},                                                                   // RSuper
    // function keys
    KeyPosition{59, 122}, KeyPosition{60, 120}, KeyPosition{61, 99},  KeyPosition{62, 118}, // F1-F4
    KeyPosition{63, 96},  KeyPosition{64, 97},  KeyPosition{65, 98},  KeyPosition{66, 100}, // F5-F8
    KeyPosition{67, 101}, KeyPosition{68, 109}, KeyPosition{87, 103}, KeyPosition{88, 111}, // F9-F12
    KeyPosition{183, 105}, KeyPosition{184, 107}, KeyPosition{185, 113}, KeyPosition{186, 106}, // F13-F16
    KeyPosition{187, 64}, KeyPosition{188, 79}, KeyPosition{189, 80}, KeyPosition{190, 90},     // F17-F20
    // keypad
    KeyPosition{83, 65},  KeyPosition{55, 67},  KeyPosition{78, 69},  KeyPosition{69, 71},  // . * + NumLock(Clear)
    KeyPosition{98, 75},  KeyPosition{96, keypadEnter}, KeyPosition{74, 78}, KeyPosition{117, 81}, // / Enter - =
    KeyPosition{82, 82},  KeyPosition{79, 83},  KeyPosition{80, 84},  KeyPosition{81, 85},  // 0 1 2 3
    KeyPosition{75, 86},  KeyPosition{76, 87},  KeyPosition{77, 88},  KeyPosition{71, 89},  // 4 5 6 7
    KeyPosition{72, 91},  KeyPosition{73, 92},                                              // 8 9
    // navigation (Insert sits where the Help key is)
    KeyPosition{110, 114}, KeyPosition{102, 115}, KeyPosition{104, 116}, KeyPosition{111, forwardDelete},
    KeyPosition{107, 119}, KeyPosition{109, 121},
    KeyPosition{105, leftArrow}, KeyPosition{106, rightArrow}, KeyPosition{108, downArrow}, KeyPosition{103, upArrow},
    // volume
    KeyPosition{115, 72}, KeyPosition{114, 73}, KeyPosition{113, 74},
    // JIS keys
    KeyPosition{124, 93}, KeyPosition{89, 94},  KeyPosition{121, 95},                       // Yen, Ro, keypad comma
};

// Characters of the US layout by the position that types them, unshifted and shifted.
struct CharacterPosition {
    char unshifted;
    char shifted;
    std::uint16_t virtualCode;
};

constexpr std::array kCharacters = {
    CharacterPosition{'1', '!', 18},  CharacterPosition{'2', '@', 19},  CharacterPosition{'3', '#', 20},
    CharacterPosition{'4', '$', 21},  CharacterPosition{'5', '%', 23},  CharacterPosition{'6', '^', 22},
    CharacterPosition{'7', '&', 26},  CharacterPosition{'8', '*', 28},  CharacterPosition{'9', '(', 25},
    CharacterPosition{'0', ')', 29},  CharacterPosition{'-', '_', 27},  CharacterPosition{'=', '+', 24},
    CharacterPosition{'[', '{', 33},  CharacterPosition{']', '}', 30},  CharacterPosition{'\\', '|', 42},
    CharacterPosition{';', ':', 41},  CharacterPosition{'\'', '"', 39}, CharacterPosition{',', '<', 43},
    CharacterPosition{'.', '>', 47},  CharacterPosition{'/', '?', 44},  CharacterPosition{'`', '~', 50},
    CharacterPosition{'a', 'A', 0},   CharacterPosition{'b', 'B', 11},  CharacterPosition{'c', 'C', 8},
    CharacterPosition{'d', 'D', 2},   CharacterPosition{'e', 'E', 14},  CharacterPosition{'f', 'F', 3},
    CharacterPosition{'g', 'G', 5},   CharacterPosition{'h', 'H', 4},   CharacterPosition{'i', 'I', 34},
    CharacterPosition{'j', 'J', 38},  CharacterPosition{'k', 'K', 40},  CharacterPosition{'l', 'L', 37},
    CharacterPosition{'m', 'M', 46},  CharacterPosition{'n', 'N', 45},  CharacterPosition{'o', 'O', 31},
    CharacterPosition{'p', 'P', 35},  CharacterPosition{'q', 'Q', 12},  CharacterPosition{'r', 'R', 15},
    CharacterPosition{'s', 'S', 1},   CharacterPosition{'t', 'T', 17},  CharacterPosition{'u', 'U', 32},
    CharacterPosition{'v', 'V', 9},   CharacterPosition{'w', 'W', 13},  CharacterPosition{'x', 'X', 7},
    CharacterPosition{'y', 'Y', 16},  CharacterPosition{'z', 'Z', 6},
};

// Qt keys that name a key rather than a character.
constexpr std::array kNamedKeys = {
    std::pair{int(Qt::Key_Return), returnKey},  std::pair{int(Qt::Key_Enter), keypadEnter},
    std::pair{int(Qt::Key_Backspace), deleteKey}, std::pair{int(Qt::Key_Delete), forwardDelete},
    std::pair{int(Qt::Key_Escape), escape},     std::pair{int(Qt::Key_Tab), tab},
    std::pair{int(Qt::Key_Backtab), tab},       std::pair{int(Qt::Key_Space), space},
    std::pair{int(Qt::Key_Left), leftArrow},    std::pair{int(Qt::Key_Right), rightArrow},
    std::pair{int(Qt::Key_Down), downArrow},    std::pair{int(Qt::Key_Up), upArrow},
    std::pair{int(Qt::Key_Home), std::uint16_t(115)}, std::pair{int(Qt::Key_End), std::uint16_t(119)},
    std::pair{int(Qt::Key_PageUp), std::uint16_t(116)}, std::pair{int(Qt::Key_PageDown), std::uint16_t(121)},
    std::pair{int(Qt::Key_Insert), std::uint16_t(114)}, std::pair{int(Qt::Key_Help), std::uint16_t(114)},
    std::pair{int(Qt::Key_F1), std::uint16_t(122)}, std::pair{int(Qt::Key_F2), std::uint16_t(120)},
    std::pair{int(Qt::Key_F3), std::uint16_t(99)},  std::pair{int(Qt::Key_F4), std::uint16_t(118)},
    std::pair{int(Qt::Key_F5), std::uint16_t(96)},  std::pair{int(Qt::Key_F6), std::uint16_t(97)},
    std::pair{int(Qt::Key_F7), std::uint16_t(98)},  std::pair{int(Qt::Key_F8), std::uint16_t(100)},
    std::pair{int(Qt::Key_F9), std::uint16_t(101)}, std::pair{int(Qt::Key_F10), std::uint16_t(109)},
    std::pair{int(Qt::Key_F11), std::uint16_t(103)}, std::pair{int(Qt::Key_F12), std::uint16_t(111)},
};

// Keypad characters when Qt flags the key as coming from the keypad.
constexpr std::array kKeypadKeys = {
    std::pair{int(Qt::Key_0), std::uint16_t(82)}, std::pair{int(Qt::Key_1), std::uint16_t(83)},
    std::pair{int(Qt::Key_2), std::uint16_t(84)}, std::pair{int(Qt::Key_3), std::uint16_t(85)},
    std::pair{int(Qt::Key_4), std::uint16_t(86)}, std::pair{int(Qt::Key_5), std::uint16_t(87)},
    std::pair{int(Qt::Key_6), std::uint16_t(88)}, std::pair{int(Qt::Key_7), std::uint16_t(89)},
    std::pair{int(Qt::Key_8), std::uint16_t(91)}, std::pair{int(Qt::Key_9), std::uint16_t(92)},
    std::pair{int(Qt::Key_Period), std::uint16_t(65)}, std::pair{int(Qt::Key_Asterisk), std::uint16_t(67)},
    std::pair{int(Qt::Key_Plus), std::uint16_t(69)}, std::pair{int(Qt::Key_Slash), std::uint16_t(75)},
    std::pair{int(Qt::Key_Minus), std::uint16_t(78)}, std::pair{int(Qt::Key_Equal), std::uint16_t(81)},
    std::pair{int(Qt::Key_Enter), keypadEnter},
};

template <typename Table>
std::optional<std::uint16_t> lookUp(const Table& table, int key)
{
    for (const auto& [qtKey, code] : table) {
        if (qtKey == key)
            return code;
    }
    return std::nullopt;
}

std::optional<std::uint16_t> characterPosition(int key)
{
    // Qt reports letters as upper-case keys whatever the shift state; other printable keys by their character.
    if (key < 0x20 || key > 0x7e)
        return std::nullopt;
    const char c = char(key);
    for (const CharacterPosition& position : kCharacters) {
        if (position.unshifted == c || position.shifted == c)
            return position.virtualCode;
    }
    return std::nullopt;
}

} // namespace

std::optional<std::uint16_t> fromNativeScanCode(quint32 scanCode)
{
    if (scanCode < x11KeycodeOffset)
        return std::nullopt;
    const quint32 evdev = scanCode - x11KeycodeOffset;
    for (const KeyPosition& position : kPositions) {
        if (position.evdev == evdev)
            return position.virtualCode;
    }
    return std::nullopt;
}

std::optional<quint32> toNativeScanCode(std::uint16_t virtualCode)
{
    for (const KeyPosition& position : kPositions) {
        if (position.virtualCode == virtualCode)
            return quint32(position.evdev) + x11KeycodeOffset;
    }
    return std::nullopt;
}

std::optional<std::uint16_t> fromQtKey(int key, Qt::KeyboardModifiers modifiers)
{
    if (modifiers.testFlag(Qt::KeypadModifier)) {
        if (const auto code = lookUp(kKeypadKeys, key))
            return code;
    }
    if (const auto code = lookUp(kNamedKeys, key))
        return code;
    return characterPosition(key);
}

std::optional<std::uint16_t> fromKeyEvent(const QKeyEvent& event)
{
    if (event.nativeScanCode() != 0)
        return fromNativeScanCode(event.nativeScanCode());
    return fromQtKey(event.key(), event.modifiers());
}

} // namespace lumivex::VirtualKeyCodes
