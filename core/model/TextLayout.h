#pragma once

#include "core/geometry/Rect.h"
#include "core/geometry/Size.h"

#include <QFont>
#include <QPainterPath>
#include <QString>

class QPainter;

namespace lumivex {

// How text boxes are measured and drawn. The renderer, the canvas and its inline editor all go through these
// functions, so a box never jumps between editing and drawing.
//
// Layout rules: every line break makes a new line ("\n", "\r\n", "\r", U+2028, U+2029); nothing wraps by
// width; lines are left-aligned and stacked top-down, each as tall as Qt's line height for the fonts it uses.
// An empty text is laid out as a single space, so an empty box keeps the height of one line.
namespace TextLayout {

// The desktop's general font family at a pixel size, Bold or Medium, without hinting (so measurements are the
// same on every screen and platform plugin). Qt fonts take whole pixel sizes: a fractional size rounds to the
// nearest pixel, and sizes are kept within [1, maxPixelSize]. Non-finite sizes give the smallest font.
QFont font(double size, bool bold);
// Largest pixel size a text font gets; beyond it glyph rasterising is a waste of memory, not a bigger text.
constexpr int maxPixelSize = 10000;

// fontSize x 0.25, on every side of the text.
double padding(double fontSize);
// Measured size of the text in whole pixels (each dimension rounded up).
Size textSize(const QString& text, double fontSize, bool bold);
// textSize plus padding on every side.
Size frameSize(const QString& text, double fontSize, bool bold);
// The text actually laid out: an empty text becomes a single space.
QString displayedText(const QString& text);

// ---- drawing side: use these so drawing matches textSize exactly.
//
// textRect is the rectangle of textSize(text, fontSize, bold) placed where the text goes (the renderer centres
// it in the annotation's frame). The first line's top-left corner sits at textRect's top-left corner; the lines
// follow downwards exactly as measured. textRect's size is not used for scaling: the glyphs have the size
// fontSize gives them. A textRect without a finite top-left corner gives an empty path and draws nothing.

// The glyph outlines of every line in image pixels, with Qt::WindingFill. Fill it with the text colour; stroke
// it (width 2 x outline width, round joins) for the outline. Colour-bitmap glyphs (emoji typed into a text
// box) have no outline and are absent from the path; draw() paints them.
QPainterPath glyphPath(const QString& text, double fontSize, bool bold, const Rect& textRect);
// Paints the glyphs with the painter's current pen colour, colour-bitmap glyphs in their own colours. Same
// positions as glyphPath; an alternative to filling the path where colour glyphs must appear.
void draw(QPainter& painter, const QString& text, double fontSize, bool bold, const Rect& textRect);

} // namespace TextLayout

} // namespace lumivex
