#include "core/stickers/EmojiCatalog.h"

#include <QFontDatabase>
#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>
#include <QSet>
#include <QTextLayout>

#include <gtest/gtest.h>

using namespace lumivex;

namespace {

struct Expected {
    const char* id;
    const char* symbol;
    int count;
    const char* first;
    const char* last;
};

// The catalogue's fixed frame: ids, tab symbols, sizes, the first eight and the last three entries.
const Expected expected[] = {
    {"표시", "checkmark.circle", 48, "✅ ❌ ⭕️ ❗️ ❓ ‼️ ⁉️ ⚠️", "🟢 🔵 🟣"},
    {"얼굴", "face.smiling", 60, "😀 😃 😄 😁 😆 😅 😂 🤣", "🙈 🙉 🙊"},
    {"손·사람", "hand.thumbsup", 40, "👍 👎 👌 ✌️ 🤞 🤟 🤘 🤙", "🤦 🙇 🏃"},
    {"하트·기호", "heart", 32, "❤️ 🧡 💛 💚 💙 💜 🖤 🤍", "🌈 💧 🔥"},
    {"동물·음식", "pawprint", 56, "🐶 🐱 🐭 🐹 🐰 🦊 🐻 🐼", "🍺 🍷 🥤"},
    {"사물", "gift", 48, "🎉 🎊 🎁 🎈 🏆 🥇 🥈 🥉", "🧢 👓 🎀"},
};

QStringList split(const char* text) { return QString::fromUtf8(text).split(' '); }

TEST(EmojiCatalog, CategoriesAndTheRandomFacePool)
{
    const auto& categories = EmojiCatalog::categories();
    ASSERT_EQ(categories.size(), std::size(expected));
    QSet<QString> seen;
    for (size_t i = 0; i < categories.size(); ++i) {
        const auto& category = categories[i];
        const Expected& e = expected[i];
        EXPECT_EQ(category.id, QString::fromUtf8(e.id));
        EXPECT_EQ(category.symbol, e.symbol);
        EXPECT_EQ(category.title(), category.id); // no translation is loaded
        ASSERT_EQ(category.emojis.size(), e.count) << e.id;
        EXPECT_EQ(category.emojis.mid(0, 8), split(e.first)) << e.id;
        EXPECT_EQ(category.emojis.mid(e.count - 3), split(e.last)) << e.id;
        for (const QString& emoji : category.emojis) {
            EXPECT_FALSE(seen.contains(emoji)) << emoji.toStdString() << " is in two categories";
            seen.insert(emoji);
        }
    }

    const QStringList pool = EmojiCatalog::randomFacePool();
    ASSERT_EQ(pool.size(), 90);
    EXPECT_EQ(pool.mid(0, 60), categories[1].emojis);
    EXPECT_EQ(pool.mid(60), categories[4].emojis.mid(0, 30));
    EXPECT_EQ(pool.back(), "🐌"); // the last animal: food never covers a face
    EXPECT_EQ(EmojiCatalog::randomFaceStickers().size(), 90u);
    EXPECT_EQ(EmojiCatalog::randomFaceStickers()[60], StickerSource::emoji("🐶"));
}

QImage drawn(const QString& emoji, const QColor& pen)
{
    const QSizeF size = StickerSource::emojiSize(emoji);
    QImage image(size.toSize() + QSize(2, 2), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setPen(pen);
    StickerSource::drawEmoji(painter, emoji, {1, 1});
    return image;
}

int coveredPixels(const QImage& image)
{
    int covered = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            covered += qAlpha(image.pixel(x, y)) > 0;
    return covered;
}

// Each entry must shape into exactly one glyph of the colour emoji font (a variation selector may add an empty
// glyph with no advance), and what is drawn must not depend on the pen colour, as it would for a monochrome
// glyph. (Asking Qt 6.4 for the outline of a colour glyph would spoil later measurements of that font.)
TEST(EmojiCatalog, EveryEntryDrawsAsOneColourGlyph)
{
    ASSERT_TRUE(QFontDatabase::hasFamily("Noto Color Emoji")) << "fonts-noto-color-emoji is a test dependency";
    for (const auto& category : EmojiCatalog::categories()) {
        for (const QString& emoji : category.emojis) {
            QTextLayout layout(emoji, StickerSource::emojiFont());
            layout.beginLayout();
            layout.createLine();
            layout.endLayout();
            int visible = 0;
            for (const QGlyphRun& run : layout.glyphRuns()) {
                const QRawFont font = run.rawFont();
                const QList<quint32> glyphs = run.glyphIndexes();
                const QList<QPointF> advances = font.advancesForGlyphIndexes(glyphs);
                for (int i = 0; i < glyphs.size(); ++i) {
                    if (advances[i].x() == 0)
                        continue;
                    ++visible;
                    EXPECT_EQ(font.familyName(), "Noto Color Emoji") << emoji.toStdString();
                    EXPECT_NE(glyphs[i], 0u) << emoji.toStdString() << " is missing from the font";
                }
            }
            EXPECT_EQ(visible, 1) << emoji.toStdString();
            const QImage dark = drawn(emoji, Qt::black);
            EXPECT_EQ(dark, drawn(emoji, Qt::white)) << emoji.toStdString() << " takes the pen colour";
            EXPECT_GT(coveredPixels(dark), dark.width() * dark.height() / 10) << emoji.toStdString();
        }
    }
}

} // namespace
