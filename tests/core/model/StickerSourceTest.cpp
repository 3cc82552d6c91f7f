#include "ModelTestSupport.h"
#include "core/model/StickerSource.h"

#include <QFontDatabase>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

using namespace lumivex;

namespace {

QImage filledImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::red);
    return image;
}

} // namespace

TEST(StickerSource, ImageAspectRatioIsPixelWidthOverHeight)
{
    EXPECT_EQ(StickerSource::image(StickerImage::make(filledImage(300, 150), "wide")).aspectRatio(), 2);
    EXPECT_EQ(StickerSource::image(StickerImage::make(QImage(), "empty")).aspectRatio(), 1);
    EXPECT_EQ(StickerSource::image(nullptr).aspectRatio(), 1);
}

TEST(StickerSource, EqualityIsByEmojiTextOrImageIdentity)
{
    EXPECT_EQ(StickerSource::emoji("😀"), StickerSource::emoji("😀"));
    EXPECT_NE(StickerSource::emoji("😀"), StickerSource::emoji("😃"));
    const auto first = StickerImage::make(filledImage(4, 4), "a");
    const auto samePixels = StickerImage::make(filledImage(4, 4), "a");
    EXPECT_EQ(StickerSource::image(first), StickerSource::image(first));
    EXPECT_NE(StickerSource::image(first), StickerSource::image(samePixels));
    // Identity is the id, not the object: a copy under the same id is the same sticker.
    const auto sameId = std::make_shared<const StickerImage>(first->id(), QImage(), "renamed");
    EXPECT_EQ(StickerSource::image(first), StickerSource::image(sameId));
    EXPECT_NE(StickerSource::image(first), StickerSource::emoji("😀"));
}

TEST(StickerSource, EmojiSequencesMeasureAsOneGlyph)
{
    ASSERT_TRUE(QFontDatabase::hasFamily("Noto Color Emoji")) << "fonts-noto-color-emoji is a test dependency";
    const QSizeF single = StickerSource::emojiSize("😀");
    ASSERT_GT(single.width(), 0);
    EXPECT_EQ(StickerSource::emoji("😀").aspectRatio(), single.width() / single.height());
    // Keycaps, flags, skin tones, joined families and text-style symbols with the emoji selector each draw as
    // one picture; split across fonts they would come out wider or taller.
    for (const char* sequence : {"1️⃣", "🇰🇷", "👍🏽", "👨‍👩‍👧", "❤️"})
        EXPECT_EQ(StickerSource::emojiSize(QString::fromUtf8(sequence)), single) << sequence;
}

TEST(StickerSource, DrawnEmojiFillsItsMeasuredBoxInColour)
{
    const QSizeF size = StickerSource::emojiSize("😀");
    QImage image(int(size.width()) + 40, int(size.height()) + 40, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        StickerSource::drawEmoji(painter, "😀", {20, 20});
    }
    QRect ink;
    bool coloured = false;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qAlpha(p) == 0)
                continue;
            ink |= QRect(x, y, 1, 1);
            coloured = coloured || qRed(p) != qBlue(p);
        }
    }
    EXPECT_TRUE(coloured);
    EXPECT_TRUE(QRectF(19, 19, size.width() + 2, size.height() + 2).contains(QRectF(ink)));
    // The glyph covers most of its box, so scaling the box to a frame scales the picture with it.
    EXPECT_GT(ink.width(), size.width() * 0.8);
}

TEST(StickerSource, TextTheEmojiFontCannotShowFallsBackToTheGeneralFont)
{
    // In the emoji font letters are missing-glyph boxes and digits blank; the general font shows them.
    const QSizeF word = StickerSource::emojiSize("OK");
    EXPECT_GT(word.width(), 0);
    EXPECT_NE(word, StickerSource::emojiSize("😀"));
    EXPECT_EQ(StickerSource::emojiSize(""), QSizeF());
    EXPECT_EQ(StickerSource::emoji("").aspectRatio(), 1);
}
