#include "core/settings/GlobalShortcut.h"

#include <QHash>
#include <QJsonDocument>

#include <array>
#include <cmath>

namespace lumivex {

namespace {

struct KeyName {
    std::int64_t keyCode;
    const char* name;
};

// Names of the ANSI-layout keys by virtual key code.
constexpr std::array kKeyNames = {
    KeyName{0, "A"},  KeyName{11, "B"}, KeyName{8, "C"},  KeyName{2, "D"},  KeyName{14, "E"}, KeyName{3, "F"},
    KeyName{5, "G"},  KeyName{4, "H"},  KeyName{34, "I"}, KeyName{38, "J"}, KeyName{40, "K"}, KeyName{37, "L"},
    KeyName{46, "M"}, KeyName{45, "N"}, KeyName{31, "O"}, KeyName{35, "P"}, KeyName{12, "Q"}, KeyName{15, "R"},
    KeyName{1, "S"},  KeyName{17, "T"}, KeyName{32, "U"}, KeyName{9, "V"},  KeyName{13, "W"}, KeyName{7, "X"},
    KeyName{16, "Y"}, KeyName{6, "Z"},
    KeyName{29, "0"}, KeyName{18, "1"}, KeyName{19, "2"}, KeyName{20, "3"}, KeyName{21, "4"},
    KeyName{23, "5"}, KeyName{22, "6"}, KeyName{26, "7"}, KeyName{28, "8"}, KeyName{25, "9"},
    KeyName{27, "-"}, KeyName{24, "="}, KeyName{33, "["}, KeyName{30, "]"}, KeyName{41, ";"}, KeyName{39, "'"},
    KeyName{43, ","}, KeyName{47, "."}, KeyName{44, "/"}, KeyName{42, "\\"}, KeyName{50, "`"},
    KeyName{49, "Space"}, KeyName{36, "↩"}, KeyName{48, "⇥"}, KeyName{51, "⌫"},
    KeyName{123, "←"}, KeyName{124, "→"}, KeyName{126, "↑"}, KeyName{125, "↓"},
    KeyName{122, "F1"}, KeyName{120, "F2"}, KeyName{99, "F3"},   KeyName{118, "F4"},
    KeyName{96, "F5"},  KeyName{97, "F6"},  KeyName{98, "F7"},   KeyName{100, "F8"},
    KeyName{101, "F9"}, KeyName{109, "F10"}, KeyName{103, "F11"}, KeyName{111, "F12"},
};
static_assert(kKeyNames.size() == 67);

// Linux caps in the order Qt and the desktops write them, with the stored bit each one stands for.
struct Cap {
    std::uint64_t flag;
    Qt::KeyboardModifier qtModifier;
    const char* text;
};
constexpr std::array kCaps = {
    Cap{GlobalShortcut::commandFlag, Qt::ControlModifier, "Ctrl"},
    Cap{GlobalShortcut::optionFlag, Qt::AltModifier, "Alt"},
    Cap{GlobalShortcut::shiftFlag, Qt::ShiftModifier, "Shift"},
    Cap{GlobalShortcut::controlFlag, Qt::MetaModifier, "Super"},
};

// JSON numbers are doubles; a stored integer must come back exactly, so fractions and values past 2^63 fail.
std::optional<double> wholeNumber(const QJsonValue& value)
{
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (!std::isfinite(number) || std::trunc(number) != number || std::fabs(number) >= 0x1p63)
        return std::nullopt;
    return number;
}

} // namespace

GlobalShortcut::GlobalShortcut(std::int64_t keyCode, std::uint64_t modifierFlags)
    : m_keyCode(keyCode), m_modifierFlags(modifierFlags & modifierMask)
{
}

GlobalShortcut GlobalShortcut::fromQt(std::int64_t keyCode, Qt::KeyboardModifiers modifiers)
{
    std::uint64_t flags = 0;
    for (const Cap& cap : kCaps) {
        if (modifiers.testFlag(cap.qtModifier))
            flags |= cap.flag;
    }
    return GlobalShortcut(keyCode, flags);
}

Qt::KeyboardModifiers GlobalShortcut::modifiers() const
{
    Qt::KeyboardModifiers result;
    for (const Cap& cap : kCaps) {
        if (hasModifier(cap.flag))
            result |= cap.qtModifier;
    }
    return result;
}

QStringList GlobalShortcut::keyCaps() const
{
    QStringList caps;
    for (const Cap& cap : kCaps) {
        if (hasModifier(cap.flag))
            caps.append(QLatin1String(cap.text));
    }
    caps.append(keyName(m_keyCode));
    return caps;
}

QString GlobalShortcut::displayString() const
{
    return keyCaps().join(QLatin1Char('+'));
}

QString GlobalShortcut::keyName(std::int64_t keyCode)
{
    for (const KeyName& key : kKeyNames) {
        if (key.keyCode == keyCode)
            return QString::fromUtf8(key.name);
    }
    return QStringLiteral("Key") + QString::number(keyCode);
}

QByteArray GlobalShortcut::encoded() const
{
    const QJsonObject object{{QStringLiteral("keyCode"), qint64(m_keyCode)},
                             {QStringLiteral("modifierFlags"), qint64(m_modifierFlags)}};
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<GlobalShortcut> GlobalShortcut::decoded(const QByteArray& json)
{
    const QJsonDocument document = QJsonDocument::fromJson(json);
    if (!document.isObject())
        return std::nullopt;
    return decoded(document.object());
}

std::optional<GlobalShortcut> GlobalShortcut::decoded(const QJsonObject& object)
{
    const std::optional<double> keyCode = wholeNumber(object.value(QStringLiteral("keyCode")));
    const std::optional<double> flags = wholeNumber(object.value(QStringLiteral("modifierFlags")));
    if (!keyCode || !flags || *flags < 0)
        return std::nullopt;
    return GlobalShortcut(std::int64_t(*keyCode), std::uint64_t(*flags), Unmasked{});
}

std::size_t qHash(const GlobalShortcut& shortcut, std::size_t seed)
{
    return qHashMulti(seed, shortcut.keyCode(), shortcut.modifierFlags());
}

} // namespace lumivex
