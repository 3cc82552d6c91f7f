#pragma once

#include <QColor>
#include <QFont>
#include <QLinearGradient>
#include <QPalette>
#include <QRectF>

namespace lumivex {

// Light or dark: the two values every appearance-dependent colour has.
enum class ColorScheme { light, dark };

// The shared visual vocabulary of every window: named colours with a light and a dark value, the two brand colours
// and the gradient between them. Widgets resolve a token while they paint, so a change of appearance only needs a
// repaint, never a rebuild.
namespace Design {

enum class Token {
    ink,
    secondaryInk,
    disabledInk,
    iconInk,
    windowBackground,
    chrome,
    group,
    inspector,
    card,
    buttonFill,
    segmentTrack,
    cardBorder,
    hairline,
    line,
    dashed,
    controlBorder,
    track,
    keyText,
    keyFill,
    nsCanvas,
};

// The token's value in a scheme.
QColor color(Token token, ColorScheme scheme);
// The token's value in the current appearance (Appearance::instance()).
QColor color(Token token);

// Brand colours, the same in both schemes.
QColor indigo();
QColor violet();
// From indigo at the top-leading corner of `rect` to violet at its bottom-trailing corner.
QLinearGradient brandGradient(const QRectF& rect, Qt::LayoutDirection direction = Qt::LeftToRight);
// Marks input that is out of range.
QColor invalidInput();
// Texts and icons of destructive actions.
QColor destructive();

// The desktop's general font at a pixel size: every text of the panels is set in it.
QFont font(double pixelSize, QFont::Weight weight = QFont::Normal);

// A widget palette made of the tokens, for the standard widgets inside our windows (text fields, lists, menus).
QPalette palette(ColorScheme scheme);

} // namespace Design

} // namespace lumivex
