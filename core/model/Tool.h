#pragma once

#include "core/model/AnnotationKind.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace lumivex {

// The editor's current tool. Raw values are the case names; key codes are the stored, layout-independent
// virtual key codes (the canvas maps a key press's native scan code onto them).
enum class Tool { select, rectangle, filledRectangle, ellipse, polygon, arrow, text, blur, crop, copyText };

namespace Tools {

constexpr std::array<Tool, 10> allCases = {Tool::select, Tool::rectangle, Tool::filledRectangle, Tool::ellipse,
                                          Tool::polygon, Tool::arrow,     Tool::text,            Tool::blur,
                                          Tool::crop,    Tool::copyText};

QString rawValue(Tool tool);
// Case-sensitive: "Rectangle" names no tool.
std::optional<Tool> fromRawValue(const QString& raw);

std::optional<AnnotationKind> annotationKind(Tool tool);
bool fillsByDefault(Tool tool);
bool cyclesSizeOnRepeat(Tool tool);
QChar shortcut(Tool tool);
std::optional<QChar> numberShortcut(Tool tool);
std::uint16_t letterKeyCode(Tool tool);
std::optional<std::uint16_t> numberKeyCode(Tool tool);
// The letter code, then the number code when there is one.
std::vector<std::uint16_t> keyCodes(Tool tool);
// "V" or "R, 4".
QString shortcutHint(Tool tool);
// Localised title; the Korean text is the key.
QString title(Tool tool);
QString symbol(Tool tool);
// Name of our own icon for the tool (toolbar and cursor badge).
QString designIcon(Tool tool);

} // namespace Tools

} // namespace lumivex
