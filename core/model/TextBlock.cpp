#include "core/model/TextBlock.h"

#include <QCache>
#include <QGlyphRun>
#include <QHashFunctions>
#include <QPainter>
#include <QRawFont>
#include <QTextOption>

#include <algorithm>

namespace lumivex {

namespace {

// Wide enough that no line ever reaches it; NoWrap alone already keeps lines whole.
constexpr qreal unlimitedLineWidth = 1e7;

// Qt builds a glyph's outline anew on every request (about 0.1 ms a glyph), and the renderer asks for the same
// glyphs on every repaint, so outlines are kept per font and glyph.
struct GlyphKey {
    QString family;
    QString style;
    qreal pixelSize;
    quint32 glyph;

    bool operator==(const GlyphKey&) const = default;
};

size_t qHash(const GlyphKey& key, size_t seed = 0)
{
    return qHashMulti(seed, key.family, key.style, key.pixelSize, key.glyph);
}

// Enough for the glyphs of every text box in a busy picture, in a few fonts and sizes.
constexpr qsizetype cachedGlyphOutlines = 4096;

QPainterPath glyphOutline(const QRawFont& font, quint32 glyph)
{
    // Per thread, so rendering on a worker thread needs no lock.
    thread_local QCache<GlyphKey, QPainterPath> cache(cachedGlyphOutlines);
    GlyphKey key{font.familyName(), font.styleName(), font.pixelSize(), glyph};
    if (const QPainterPath* cached = cache.object(key))
        return *cached;
    QPainterPath outline = font.pathForGlyph(glyph);
    cache.insert(std::move(key), new QPainterPath(outline));
    return outline;
}

} // namespace

QString TextBlock::withUniformLineBreaks(const QString& text)
{
    QString uniform = text;
    uniform.replace(QLatin1String("\r\n"), QString(QChar::LineSeparator));
    for (QChar& c : uniform) {
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::ParagraphSeparator)
            c = QChar::LineSeparator;
    }
    return uniform;
}

TextBlock::TextBlock(const QString& text, const QFont& font) : m_layout(withUniformLineBreaks(text), font)
{
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setAlignment(Qt::AlignLeft);
    m_layout.setTextOption(option);
    m_layout.setCacheEnabled(true);

    qreal width = 0;
    qreal y = 0;
    m_layout.beginLayout();
    for (QTextLine line = m_layout.createLine(); line.isValid(); line = m_layout.createLine()) {
        line.setLeadingIncluded(true);
        line.setLineWidth(unlimitedLineWidth);
        line.setPosition(QPointF(0, y));
        width = std::max(width, line.naturalTextWidth());
        y += line.height();
    }
    m_layout.endLayout();
    m_size = QSizeF(width, y);
}

bool TextBlock::hasMissingGlyphs() const
{
    const QList<QGlyphRun> runs = m_layout.glyphRuns();
    return std::any_of(runs.begin(), runs.end(), [](const QGlyphRun& run) {
        const QList<quint32> glyphs = run.glyphIndexes();
        return std::find(glyphs.begin(), glyphs.end(), 0u) != glyphs.end();
    });
}

QPainterPath TextBlock::glyphPath(QPointF topLeft) const
{
    QPainterPath path;
    const QPointF origin = topLeft + m_layout.position();
    for (const QGlyphRun& run : m_layout.glyphRuns()) {
        const QRawFont font = run.rawFont();
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < glyphs.size() && i < positions.size(); ++i)
            path.addPath(glyphOutline(font, glyphs[i]).translated(origin + positions[i]));
    }
    // Glyph outlines overlap (accents, joined scripts); winding fill keeps overlaps solid.
    path.setFillRule(Qt::WindingFill);
    return path;
}

void TextBlock::draw(QPainter& painter, QPointF topLeft) const
{
    m_layout.draw(&painter, topLeft);
}

} // namespace lumivex
