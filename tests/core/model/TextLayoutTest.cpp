#include "ModelTestSupport.h"
#include "core/model/TextLayout.h"
#include "core/model/TextPlaceholder.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>

using namespace lumivex;
using lumivex::test::textBox;

namespace {

// Qt's own metrics for the same font: a single-font Latin line is its advance wide and its ascent plus
// descent (rounded up to whole pixels by the layout) high.
Size metricsOracle(const QStringList& lines, double fontSize, bool bold)
{
    const QFontMetricsF metrics(TextLayout::font(fontSize, bold));
    double width = 0;
    for (const QString& line : lines)
        width = std::max(width, metrics.horizontalAdvance(line));
    return {std::ceil(width), lines.size() * std::ceil(metrics.ascent() + metrics.descent())};
}

// Bounding box of the pixels with any alpha.
QRect inkBounds(const QImage& image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

QImage transparentImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

} // namespace

TEST(TextLayout, MeasuresWholePixelsLikeQtMetrics)
{
    EXPECT_EQ(TextLayout::textSize("Hello", 28, true), metricsOracle({"Hello"}, 28, true));
    EXPECT_EQ(TextLayout::textSize("Hello", 28, false), metricsOracle({"Hello"}, 28, false));
    EXPECT_EQ(TextLayout::textSize("Hello", 28, true), TextLayout::textSize("Hello", 28, true));
    EXPECT_GT(TextLayout::textSize("Hello", 28, true).width, TextLayout::textSize("Hello", 28, false).width);
}

TEST(TextLayout, EveryLineBreakMakesALineAndNothingWraps)
{
    const Size two = TextLayout::textSize("short\nmuch longer line", 28, true);
    EXPECT_EQ(two, metricsOracle({"short", "much longer line"}, 28, true));
    EXPECT_EQ(TextLayout::textSize("short\r\nmuch longer line", 28, true), two);
    EXPECT_EQ(TextLayout::textSize(QString("short") + QChar::ParagraphSeparator + "much longer line", 28, true), two);
    // A trailing break already opens the next line, so the box has room for the caret there.
    EXPECT_EQ(TextLayout::textSize("abc\n", 28, true).height, two.height);
    const QString longLine(2000, QLatin1Char('m'));
    EXPECT_EQ(TextLayout::textSize(longLine, 12, true).height, TextLayout::textSize("m", 12, true).height);
}

TEST(TextLayout, EmptyTextMeasuresAsASpaceAndPaddingIsAQuarterOfTheSize)
{
    const Size empty = TextLayout::textSize("", 28, true);
    EXPECT_EQ(empty, TextLayout::textSize(" ", 28, true));
    EXPECT_EQ(empty.height, TextLayout::textSize("Hello", 28, true).height);
    EXPECT_EQ(TextLayout::padding(28), 7);
    const Size frame = TextLayout::frameSize("", 28, true);
    EXPECT_GT(frame.width, 14);
    EXPECT_EQ(frame, (Size{empty.width + 14, empty.height + 14}));
}

TEST(TextLayout, TextFrameAddsExtraRoomAndGrowsFromCornerOrCentre)
{
    Annotation box = textBox("Hi", 28, {100, 100});
    const Size measured = TextLayout::textSize("Hi", 28, true);
    box.textExtraSize = {10, 6};
    EXPECT_EQ(box.textFrameSize(), (Size{measured.width + 24, measured.height + 20}));

    const Annotation before = textBox("Hi", 28, {100, 100});
    Annotation corner = before, centred = before;
    corner.text = centred.text = "Hi there\nsecond line";
    corner.refreshTextFrame(false);
    centred.refreshTextFrame(true);
    EXPECT_EQ(corner.frame.origin(), before.frame.origin());
    EXPECT_GT(corner.frame.width, before.frame.width);
    EXPECT_GT(corner.frame.height, before.frame.height);
    EXPECT_EQ(centred.center(), before.center());
    EXPECT_EQ(centred.frame.size(), corner.frame.size());

    Annotation notText = before;
    notText.kind = AnnotationKind::sticker;
    notText.text = "much longer";
    notText.refreshTextFrame(false);
    EXPECT_EQ(notText.frame, before.frame);
}

TEST(TextLayout, GlyphPathSitsInTheMeasuredRectangleLineByLine)
{
    const Size one = TextLayout::textSize("Hg", 40, true);
    const Rect oneRect{Point{100, 50}, one};
    const QRectF single = TextLayout::glyphPath("Hg", 40, true, oneRect).boundingRect();
    // Ink stays within the measured box (side bearings may overhang by a pixel or two).
    EXPECT_TRUE(QRectF(99, 50, one.width + 2, one.height).contains(single)) << single.x() << "," << single.y();

    const QRectF doubled = TextLayout::glyphPath("Hg\nHg", 40, true, oneRect).boundingRect();
    EXPECT_NEAR(doubled.top(), single.top(), 1e-6);
    EXPECT_NEAR(doubled.bottom() - single.bottom(), one.height, 1e-6);
    EXPECT_TRUE(TextLayout::glyphPath("", 40, true, oneRect).isEmpty());
}

TEST(TextLayout, DrawingAndGlyphPathPaintTheSamePlace)
{
    const Rect rect{Point{10, 10}, TextLayout::textSize("Lumivex 가나\nline two", 30, false)};
    QImage drawn = transparentImage(400, 140), filled = transparentImage(400, 140);
    {
        QPainter painter(&drawn);
        painter.setPen(Qt::black);
        TextLayout::draw(painter, "Lumivex 가나\nline two", 30, false, rect);
    }
    {
        QPainter painter(&filled);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(TextLayout::glyphPath("Lumivex 가나\nline two", 30, false, rect), Qt::black);
    }
    const QRect a = inkBounds(drawn), b = inkBounds(filled);
    ASSERT_FALSE(a.isEmpty());
    EXPECT_LE(std::abs(a.left() - b.left()), 1);
    EXPECT_LE(std::abs(a.top() - b.top()), 1);
    EXPECT_LE(std::abs(a.right() - b.right()), 1);
    EXPECT_LE(std::abs(a.bottom() - b.bottom()), 1);
}

TEST(TextLayout, FractionalAndAbsurdSizesStayUsable)
{
    EXPECT_EQ(TextLayout::font(27.6, true).pixelSize(), 28);
    EXPECT_EQ(TextLayout::font(0.2, true).pixelSize(), 1);
    EXPECT_EQ(TextLayout::font(1e12, true).pixelSize(), TextLayout::maxPixelSize);
    EXPECT_EQ(TextLayout::font(std::nan(""), false).pixelSize(), 1);
    EXPECT_EQ(TextLayout::font(28, true).weight(), QFont::Bold);
    EXPECT_EQ(TextLayout::font(28, false).weight(), QFont::Medium);
}

TEST(TextPlaceholder, KoreanInputSourcesGetAHangulSample)
{
    const std::pair<std::optional<QString>, QString> cases[] = {
        {QString("com.apple.inputmethod.Korean.2SetKorean"), "가"},
        {QString("ibus:HANGUL"), "가"},
        {QString("fcitx-hangul"), "가"},
        {QString("xkb:us::eng"), "A"},
        {QString(""), "A"},
        {std::nullopt, "A"},
    };
    for (const auto& [id, expected] : cases)
        EXPECT_EQ(TextPlaceholder::sample(id), expected) << id.value_or("(none)").toStdString();
}
