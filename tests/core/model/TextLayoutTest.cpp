#include "ModelTestSupport.h"
#include "core/model/TextLayout.h"
#include "core/model/TextPlaceholder.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>

using namespace lumivex;

namespace {

// Qt's own metrics for the same font: a single-font Latin line is its advance wide and its ascent plus
// descent high, in whole pixels.
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
    // A trailing break already opens the next line, so the box has room for the caret there.
    EXPECT_EQ(TextLayout::textSize("abc\n", 28, true).height, two.height);
    EXPECT_EQ(TextLayout::textSize(QString(2000, 'm'), 12, true).height, TextLayout::textSize("m", 12, true).height);
}

TEST(TextLayout, EmptyTextMeasuresAsASpaceAndPaddingIsAQuarterOfTheSize)
{
    const Size empty = TextLayout::textSize("", 28, true);
    EXPECT_EQ(empty, TextLayout::textSize(" ", 28, true));
    EXPECT_EQ(empty.height, TextLayout::textSize("Hello", 28, true).height);
    EXPECT_EQ(TextLayout::frameSize("", 28, true), (Size{empty.width + 14, empty.height + 14}));
    EXPECT_EQ(TextLayout::font(27.6, true).pixelSize(), 28); // Qt fonts take whole pixel sizes
}

TEST(TextLayout, TextFrameAddsExtraRoomAndGrowsFromCornerOrCentre)
{
    const Annotation before = test::textBox("Hi", 28, {100, 100});
    Annotation extra = before;
    extra.textExtraSize = {10, 6};
    EXPECT_EQ(extra.textFrameSize(), (Size{before.frame.width + 10, before.frame.height + 6}));

    Annotation corner = before, centred = before;
    corner.text = centred.text = "Hi there\nsecond line";
    corner.refreshTextFrame(false);
    centred.refreshTextFrame(true);
    EXPECT_EQ(corner.frame.origin(), before.frame.origin());
    EXPECT_GT(corner.frame.width, before.frame.width);
    EXPECT_EQ(centred.center(), before.center());
    EXPECT_EQ(centred.frame.size(), corner.frame.size());
}

TEST(TextLayout, GlyphPathSitsInTheMeasuredRectangleLineByLine)
{
    const Size one = TextLayout::textSize("Hg", 40, true);
    const Rect oneRect{Point{100, 50}, one};
    const QRectF single = TextLayout::glyphPath("Hg", 40, true, oneRect).boundingRect();
    // Ink stays within the measured box (a side bearing may overhang by a pixel).
    EXPECT_TRUE(QRectF(99, 50, one.width + 2, one.height).contains(single));
    const QRectF doubled = TextLayout::glyphPath("Hg\nHg", 40, true, oneRect).boundingRect();
    EXPECT_NEAR(doubled.top(), single.top(), 1e-6);
    EXPECT_NEAR(doubled.bottom() - single.bottom(), one.height, 1e-6);
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
    }
    {
        QPainter painter(&filled);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(TextLayout::glyphPath(text, 30, false, rect), Qt::black);
    }
    const QRect a = test::inkBounds(drawn), b = test::inkBounds(filled);
    ASSERT_FALSE(a.isEmpty());
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
