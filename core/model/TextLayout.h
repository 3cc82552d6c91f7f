#pragma once

#include "core/geometry/Size.h"

#include <QFont>
#include <QString>

namespace lumivex {

// How text boxes are measured. The renderer and the inline editor use the same functions, so a box never
// jumps between editing and drawing.
namespace TextLayout {

// The desktop's general font at a pixel size, Bold or Medium.
QFont font(double size, bool bold);
double padding(double fontSize);
// Measured size of the text in whole pixels: line breaks make lines, nothing wraps; empty measures as " ".
Size textSize(const QString& text, double fontSize, bool bold);
// textSize plus padding on every side.
Size frameSize(const QString& text, double fontSize, bool bold);
// The text actually laid out: an empty text becomes a single space.
QString displayedText(const QString& text);

} // namespace TextLayout

} // namespace lumivex
