#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <Qt>

#include <cstdint>
#include <optional>

namespace lumivex {

// A global key combination as it is stored: a layout-independent virtual key code (the key's position on an
// ANSI keyboard, see app/platform/VirtualKeyCodes) and modifier bits. The bits keep their stored meaning on
// every platform; on Linux they read Command = Ctrl, Control = Super, Option = Alt, Shift = Shift.
class GlobalShortcut {
public:
    static constexpr std::uint64_t shiftFlag = 0x20000;
    static constexpr std::uint64_t controlFlag = 0x40000;  // the Super key on Linux
    static constexpr std::uint64_t optionFlag = 0x80000;   // Alt
    static constexpr std::uint64_t commandFlag = 0x100000; // Ctrl
    static constexpr std::uint64_t modifierMask = 0x1E0000;

    // Keeps only the bits of modifierMask.
    GlobalShortcut(std::int64_t keyCode, std::uint64_t modifierFlags);
    // The same modifiers from Qt's set (Ctrl, Meta, Alt, Shift); other Qt modifiers are dropped.
    static GlobalShortcut fromQt(std::int64_t keyCode, Qt::KeyboardModifiers modifiers);

    std::int64_t keyCode() const { return m_keyCode; }
    std::uint64_t modifierFlags() const { return m_modifierFlags; }
    bool hasModifier(std::uint64_t flag) const { return (m_modifierFlags & flag) != 0; }

    // A key without a modifier is never registered as a global shortcut.
    bool isValidGlobalShortcut() const { return m_modifierFlags != 0; }
    Qt::KeyboardModifiers modifiers() const;

    // The caps a Linux user reads: "Ctrl", "Alt", "Shift", "Super" (each only when held), then the key's name.
    QStringList keyCaps() const;
    // The caps joined with "+", e.g. "Ctrl+Shift+E".
    QString displayString() const;
    // The key's name from the fixed table ("E", "Space", "F5", "↩"), or "Key" + the code for any other key.
    static QString keyName(std::int64_t keyCode);

    // {"keyCode":14,"modifierFlags":1179648}
    QByteArray encoded() const;
    // Both members must be whole numbers (the flags not negative); the stored values are kept unmasked, as
    // written. Anything else decodes as nothing.
    static std::optional<GlobalShortcut> decoded(const QByteArray& json);
    static std::optional<GlobalShortcut> decoded(const QJsonObject& object);

    friend bool operator==(const GlobalShortcut&, const GlobalShortcut&) = default;

private:
    struct Unmasked {};
    GlobalShortcut(std::int64_t keyCode, std::uint64_t modifierFlags, Unmasked)
        : m_keyCode(keyCode), m_modifierFlags(modifierFlags) {}

    std::int64_t m_keyCode;
    std::uint64_t m_modifierFlags;
};

std::size_t qHash(const GlobalShortcut& shortcut, std::size_t seed = 0);

} // namespace lumivex
