#pragma once

#include <QKeyEvent>

#include <cstdint>
#include <optional>

namespace lumivex {

// Stored key codes are hardware positions on an ANSI keyboard ("virtual key codes"), independent of the
// keyboard layout: the key at the position of R is 15 whether it types r, p (Dvorak) or ㄱ (Korean 2-set).
// Key presses arrive as X11 keycodes (evdev code + 8; Qt's nativeScanCode() on xcb and Wayland), and this
// table is the one place that translates between the two.
namespace VirtualKeyCodes {

// The codes the editor compares against by name.
constexpr std::uint16_t returnKey = 36;
constexpr std::uint16_t tab = 48;
constexpr std::uint16_t space = 49;
constexpr std::uint16_t deleteKey = 51; // Backspace on a PC keyboard
constexpr std::uint16_t escape = 53;
constexpr std::uint16_t keypadEnter = 76;
constexpr std::uint16_t forwardDelete = 117;
constexpr std::uint16_t leftArrow = 123;
constexpr std::uint16_t rightArrow = 124;
constexpr std::uint16_t downArrow = 125;
constexpr std::uint16_t upArrow = 126;

// The virtual code of an X11 keycode, or nothing for a key without an ANSI position (Hangul, Hanja, media keys).
std::optional<std::uint16_t> fromNativeScanCode(quint32 scanCode);
// The X11 keycode of a virtual code (for grabbing a stored shortcut), or nothing when no key has that code.
std::optional<quint32> toNativeScanCode(std::uint16_t virtualCode);
// A best guess from Qt's layout-dependent key, for events without a scan code (the offscreen platform, synthetic
// events): letters, digits and punctuation by their US-layout position, plus the named editing keys.
std::optional<std::uint16_t> fromQtKey(int key, Qt::KeyboardModifiers modifiers);
// The scan code when the event has one, otherwise the Qt key.
std::optional<std::uint16_t> fromKeyEvent(const QKeyEvent& event);

} // namespace VirtualKeyCodes

} // namespace lumivex
