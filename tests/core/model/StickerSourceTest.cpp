#include "ModelTestSupport.h"
#include "core/model/StickerSource.h"

#include <QFontDatabase>

using namespace lumivex;

TEST(StickerSource, ImageAspectRatioAndIdentity)
{
    QImage wide(300, 150, QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(StickerSource::image(StickerImage::make(wide, "wide")).aspectRatio(), 2);
    EXPECT_EQ(StickerSource::image(StickerImage::make(QImage(), "empty")).aspectRatio(), 1);
    EXPECT_EQ(StickerSource::emoji("😀"), StickerSource::emoji("😀"));
    const auto first = StickerImage::make(wide, "a");
    EXPECT_NE(StickerSource::image(first), StickerSource::image(StickerImage::make(wide, "a")));
    const auto sameId = std::make_shared<const StickerImage>(first->id(), QImage(), "renamed");
    EXPECT_EQ(StickerSource::image(first), StickerSource::image(sameId));
}

TEST(StickerSource, EmojiSequencesMeasureAsOneGlyph)
{
    ASSERT_TRUE(QFontDatabase::hasFamily("Noto Color Emoji")) << "fonts-noto-color-emoji is a test dependency";
    const QSizeF single = StickerSource::emojiSize("😀");
    ASSERT_GT(single.width(), 0);
    EXPECT_EQ(StickerSource::emoji("😀").aspectRatio(), single.width() / single.height());
    // Keycaps, flags, skin tones, joined families and the emoji selector each draw as one picture.
    for (const char* sequence : {"1️⃣", "🇰🇷", "👍🏽", "👨‍👩‍👧", "❤️"})
        EXPECT_EQ(StickerSource::emojiSize(QString::fromUtf8(sequence)), single) << sequence;
    EXPECT_NE(StickerSource::emojiSize("OK"), single); // letters come from the general font
}
