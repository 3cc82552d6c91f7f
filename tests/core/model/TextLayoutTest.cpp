#include "ModelTestSupport.h"
#include "core/model/TextLayout.h"
#include "core/model/TextPlaceholder.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

using namespace lumivex;

namespace {

// Qt's own metrics: a single-font Latin line is its advance wide and ascent plus descent high, in whole pixels.
Size metricsOracle(const QStringList& lines, double fontSize, bool bold)
{
    const QFontMetricsF metrics(TextLayout::font(fontSize, bold));
    double width = 0;
    for (const QString& line : lines)
        width = std::max(width, metrics.horizontalAdvance(line));
    return {std::ceil(width), lines.size() * std::ceil(metrics.ascent() + metrics.descent())};
}

} // namespace

TEST(TextLayout, LinesBreakOnlyAtLineBreaksAndMeasureInWholePixels)
{
    EXPECT_EQ(TextLayout::textSize("Hello", 28, true), metricsOracle({"Hello"}, 28, true));
    EXPECT_EQ(TextLayout::textSize("Hello", 28, false), metricsOracle({"Hello"}, 28, false));
    const Size two = TextLayout::textSize("short\nmuch longer line", 28, true);
    EXPECT_EQ(two, metricsOracle({"short", "much longer line"}, 28, true));
    EXPECT_EQ(TextLayout::textSize("short\r\nmuch longer line", 28, true), two);
    EXPECT_EQ(TextLayout::textSize("abc\n", 28, true).height, two.height); // room for the caret on the new line
    EXPECT_EQ(TextLayout::textSize(QString(2000, 'm'), 12, true).height, TextLayout::textSize("m", 12, true).height);

    const Size empty = TextLayout::textSize("", 28, true);
    EXPECT_EQ(empty, TextLayout::textSize(" ", 28, true));
    EXPECT_EQ(TextLayout::frameSize("", 28, true), (Size{empty.width + 14, empty.height + 14})); // padding 7
}

TEST(TextLayout, DrawingAndGlyphPathPaintTheSamePlace)
{
    const QString text = QString::fromUtf8("Lumivex 가나\nline two");
    const Rect rect{Point{10, 10}, TextLayout::textSize(text, 30, false)};
    QImage drawn(400, 140, QImage::Format_ARGB32_Premultiplied);
    drawn.fill(Qt::transparent);
    QImage filled = drawn;
    {
        QPainter painter(&drawn);
        painter.setPen(Qt::black);
        TextLayout::draw(painter, text, 30, false, rect);
        QPainter other(&filled);
        other.setRenderHint(QPainter::Antialiasing);
        other.fillPath(TextLayout::glyphPath(text, 30, false, rect), Qt::black);
    }
    const QRect a = test::inkBounds(drawn), b = test::inkBounds(filled);
    ASSERT_FALSE(a.isEmpty());
    EXPECT_TRUE(QRectF(9, 10, rect.width + 2, rect.height).contains(QRectF(b))); // within the measured box
    for (auto edge : {&QRect::left, &QRect::top, &QRect::right, &QRect::bottom})
        EXPECT_LE(std::abs((a.*edge)() - (b.*edge)()), 1);
}

TEST(TextPlaceholder, KoreanInputSourcesGetAHangulSample)
{
    EXPECT_EQ(TextPlaceholder::sample(QString("com.apple.inputmethod.Korean.2SetKorean")), QString::fromUtf8("가"));
    EXPECT_EQ(TextPlaceholder::sample(QString("ibus:HANGUL")), QString::fromUtf8("가"));
    EXPECT_EQ(TextPlaceholder::sample(QString("xkb:us::eng")), "A");
    EXPECT_EQ(TextPlaceholder::sample(std::nullopt), "A");
}
