#include "ModelTestSupport.h"
#include "core/model/StickerSource.h"

#include <QFontDatabase>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

using namespace lumivex;

namespace {

QImage redImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::red);
    return image;
}

} // namespace

TEST(StickerSource, ImageAspectRatioAndIdentity)
{
    EXPECT_EQ(StickerSource::image(StickerImage::make(redImage(300, 150), "wide")).aspectRatio(), 2);
    EXPECT_EQ(StickerSource::image(StickerImage::make(QImage(), "empty")).aspectRatio(), 1);
    EXPECT_EQ(StickerSource::emoji("😀"), StickerSource::emoji("😀"));
    const auto first = StickerImage::make(redImage(4, 4), "a");
    EXPECT_NE(StickerSource::image(first), StickerSource::image(StickerImage::make(redImage(4, 4), "a")));
    const auto sameId = std::make_shared<const StickerImage>(first->id(), QImage(), "renamed");
    EXPECT_EQ(StickerSource::image(first), StickerSource::image(sameId));
}

TEST(StickerSource, EmojiSequencesMeasureAsOneGlyph)
{
    ASSERT_TRUE(QFontDatabase::hasFamily("Noto Color Emoji")) << "fonts-noto-color-emoji is a test dependency";
    const QSizeF single = StickerSource::emojiSize("😀");
    ASSERT_GT(single.width(), 0);
    EXPECT_EQ(StickerSource::emoji("😀").aspectRatio(), single.width() / single.height());
    // Keycaps, flags, skin tones, joined families and the emoji selector each draw as one picture; split
    // across fonts they would come out wider or taller.
    for (const char* sequence : {"1️⃣", "🇰🇷", "👍🏽", "👨‍👩‍👧", "❤️"})
        EXPECT_EQ(StickerSource::emojiSize(QString::fromUtf8(sequence)), single) << sequence;
    // Letters are missing from the emoji font; they are measured in the general font instead.
    EXPECT_NE(StickerSource::emojiSize("OK"), single);
    EXPECT_EQ(StickerSource::emoji("").aspectRatio(), 1);
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
    const QRect ink = test::inkBounds(image);
    const QRgb middle = image.pixel(ink.center());
    EXPECT_NE(qRed(middle), qBlue(middle)) << "a colour glyph, not a grey outline";
    EXPECT_TRUE(QRectF(19, 19, size.width() + 2, size.height() + 2).contains(QRectF(ink)));
    EXPECT_GT(ink.width(), size.width() * 0.8); // scaling the box to a frame scales the picture with it
}
