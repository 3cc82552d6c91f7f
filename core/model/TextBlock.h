#pragma once

#include <QFont>
#include <QPainterPath>
#include <QPointF>
#include <QSizeF>
#include <QString>
#include <QTextLayout>

class QPainter;

namespace lumivex {

// A block of text laid out the one way this program measures and draws it: every line break ("\n", "\r\n",
// "\r", U+2028, U+2029) starts a new line, nothing wraps by width, lines are left-aligned and stacked top-down,
// each as tall as Qt's line height for the fonts it uses (whole pixels). Measuring, path building and drawing
// all read the same QTextLayout, so they cannot disagree.
class TextBlock {
public:
    TextBlock(const QString& text, const QFont& font);
    TextBlock(const TextBlock&) = delete;
    TextBlock& operator=(const TextBlock&) = delete;

    // Widest line's natural width by the sum of the line heights; not rounded.
    QSizeF size() const { return m_size; }
    // Whether a glyph came out as the font's "missing glyph" box (only possible without font merging).
    bool hasMissingGlyphs() const;
    // The outlines of every glyph, with the block's top-left corner at topLeft. Bitmap glyphs (colour emoji)
    // have no outline and add nothing.
    QPainterPath glyphPath(QPointF topLeft) const;
    // Draws the glyphs (colour glyphs included) with the painter's pen colour, top-left corner at topLeft.
    void draw(QPainter& painter, QPointF topLeft) const;

    // The text with every kind of line break turned into the one Qt's layout breaks lines at.
    static QString withUniformLineBreaks(const QString& text);

private:
    QTextLayout m_layout;
    QSizeF m_size;
};

} // namespace lumivex
