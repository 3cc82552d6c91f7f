#include "core/model/Tool.h"

#include <QCoreApplication>

namespace lumivex {

namespace {

// Everything about a tool that is a fixed property of the case, in declaration order of Tool.
struct ToolInfo {
    const char* rawValue;
    std::optional<AnnotationKind> kind;
    bool fillsByDefault;
    bool cyclesSizeOnRepeat;
    char shortcut;
    char numberShortcut; // 0: none
    std::uint16_t letterKeyCode;
    int numberKeyCode; // -1: none
    const char* title; // translation key (Korean, the development language)
    const char* symbol;
    const char* designIcon;
};

constexpr ToolInfo toolTable[] = {
    {"select", std::nullopt, false, false, 'v', 0, 9, -1, QT_TRANSLATE_NOOP("Tool", "선택"), "cursorarrow",
     "cursor"},
    {"rectangle", AnnotationKind::rectangle, false, true, 'r', '4', 15, 21, QT_TRANSLATE_NOOP("Tool", "사각형(테두리)"),
     "rectangle", "rect"},
    {"filledRectangle", AnnotationKind::rectangle, true, false, 'f', '5', 3, 23,
     QT_TRANSLATE_NOOP("Tool", "사각형(채움)"), "rectangle.fill", "rect-fill"},
    {"ellipse", AnnotationKind::ellipse, true, false, 'e', '6', 14, 22, QT_TRANSLATE_NOOP("Tool", "원/타원(채움)"),
     "oval.fill", "ellipse"},
    {"polygon", AnnotationKind::polygon, true, false, 'p', '7', 35, 26, QT_TRANSLATE_NOOP("Tool", "다각형(채움)"),
     "pentagon.fill", "polygon"},
    {"arrow", AnnotationKind::arrow, false, true, 'a', '2', 0, 19, QT_TRANSLATE_NOOP("Tool", "화살표"), "arrow.up.right",
     "arrow"},
    {"text", AnnotationKind::text, false, true, 't', '1', 17, 18, QT_TRANSLATE_NOOP("Tool", "텍스트"), "textformat",
     "type"},
    {"blur", AnnotationKind::blur, false, false, 'b', '3', 11, 20, QT_TRANSLATE_NOOP("Tool", "블러"), "drop.halffull",
     "drop"},
    {"crop", std::nullopt, false, false, 'c', '8', 8, 28, QT_TRANSLATE_NOOP("Tool", "자르기"), "crop", "crop"},
    {"copyText", std::nullopt, false, false, 'x', '9', 7, 25, QT_TRANSLATE_NOOP("Tool", "텍스트 추출"),
     "text.viewfinder", "scan-text"},
};

static_assert(std::size(toolTable) == Tools::allCases.size());

const ToolInfo& info(Tool tool)
{
    return toolTable[static_cast<std::size_t>(tool)];
}

} // namespace

namespace Tools {

QString rawValue(Tool tool) { return QString::fromLatin1(info(tool).rawValue); }

std::optional<Tool> fromRawValue(const QString& raw)
{
    for (Tool tool : allCases) {
        if (raw == QLatin1String(info(tool).rawValue))
            return tool;
    }
    return std::nullopt;
}

std::optional<AnnotationKind> annotationKind(Tool tool) { return info(tool).kind; }
bool fillsByDefault(Tool tool) { return info(tool).fillsByDefault; }
bool cyclesSizeOnRepeat(Tool tool) { return info(tool).cyclesSizeOnRepeat; }
QChar shortcut(Tool tool) { return QLatin1Char(info(tool).shortcut); }

std::optional<QChar> numberShortcut(Tool tool)
{
    if (info(tool).numberShortcut == 0)
        return std::nullopt;
    return QLatin1Char(info(tool).numberShortcut);
}

std::uint16_t letterKeyCode(Tool tool) { return info(tool).letterKeyCode; }

std::optional<std::uint16_t> numberKeyCode(Tool tool)
{
    if (info(tool).numberKeyCode < 0)
        return std::nullopt;
    return static_cast<std::uint16_t>(info(tool).numberKeyCode);
}

std::vector<std::uint16_t> keyCodes(Tool tool)
{
    std::vector<std::uint16_t> codes{letterKeyCode(tool)};
    if (const auto number = numberKeyCode(tool))
        codes.push_back(*number);
    return codes;
}

QString shortcutHint(Tool tool)
{
    QString hint = shortcut(tool).toUpper();
    if (const auto digit = numberShortcut(tool))
        hint += QStringLiteral(", ") + *digit;
    return hint;
}

QString title(Tool tool) { return QCoreApplication::translate("Tool", info(tool).title); }
QString symbol(Tool tool) { return QString::fromLatin1(info(tool).symbol); }
QString designIcon(Tool tool) { return QString::fromLatin1(info(tool).designIcon); }

} // namespace Tools

} // namespace lumivex
