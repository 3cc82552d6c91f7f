#include "core/model/TextLayout.h"

#include "core/model/TextBlock.h"

#include <QFontDatabase>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <optional>

namespace lumivex::TextLayout {

namespace {

int wholePixelSize(double size)
{
    if (!std::isfinite(size))
        return 1;
    return int(std::clamp(std::round(size), 1.0, double(maxPixelSize)));
}

// Where the first line starts, or nothing when the rectangle gives no usable position.
std::optional<QPointF> topLeftOf(const Rect& textRect)
{
    const double left = textRect.minX();
    const double top = textRect.minY();
    if (!std::isfinite(left) || !std::isfinite(top))
        return std::nullopt;
    return QPointF(left, top);
}

// Read once: a theme change while the program runs must not re-measure boxes that are already laid out.
const QString& generalFamily()
{
    static const QString family = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    return family;
}

} // namespace

QFont font(double size, bool bold)
{
    QFont font;
    font.setFamilies({generalFamily()});
    font.setPixelSize(wholePixelSize(size));
    font.setWeight(bold ? QFont::Bold : QFont::Medium);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

double padding(double fontSize) { return fontSize * 0.25; }

QString displayedText(const QString& text) { return text.isEmpty() ? QStringLiteral(" ") : text; }

Size textSize(const QString& text, double fontSize, bool bold)
{
    const TextBlock block(displayedText(text), font(fontSize, bold));
    return {std::ceil(block.size().width()), std::ceil(block.size().height())};
}

Size frameSize(const QString& text, double fontSize, bool bold)
{
    const Size measured = textSize(text, fontSize, bold);
    const double pad = padding(fontSize);
    return {measured.width + 2 * pad, measured.height + 2 * pad};
}

QPainterPath glyphPath(const QString& text, double fontSize, bool bold, const Rect& textRect)
{
    const auto topLeft = topLeftOf(textRect);
    if (!topLeft)
        return {};
    const TextBlock block(displayedText(text), font(fontSize, bold));
    return block.glyphPath(*topLeft);
}

void draw(QPainter& painter, const QString& text, double fontSize, bool bold, const Rect& textRect)
{
    const auto topLeft = topLeftOf(textRect);
    if (!topLeft)
        return;
    const TextBlock block(displayedText(text), font(fontSize, bold));
    block.draw(painter, *topLeft);
}

} // namespace lumivex::TextLayout
