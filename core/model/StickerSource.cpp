#include "core/model/StickerSource.h"

#include "core/model/TextBlock.h"

#include <QFontDatabase>

#include <utility>

namespace lumivex {

namespace {

const QString emojiFamily = QStringLiteral("Noto Color Emoji");

bool emojiFontInstalled()
{
    static const bool installed = QFontDatabase::hasFamily(emojiFamily);
    return installed;
}

QFont generalFontAtEmojiSize()
{
    QFont font;
    font.setFamilies({QFontDatabase::systemFont(QFontDatabase::GeneralFont).family()});
    font.setPixelSize(StickerSource::emojiPixelSize);
    return font;
}

// Qt 6.4 picks a fallback font per character, which splits emoji sequences (a variation selector the emoji
// font has no cmap entry for lands in another font); the emoji font alone shapes them whole.
std::unique_ptr<TextBlock> layOutEmoji(const QString& emoji)
{
    auto block = std::make_unique<TextBlock>(emoji, StickerSource::emojiFont());
    if (emojiFontInstalled() && block->hasMissingGlyphs())
        block = std::make_unique<TextBlock>(emoji, generalFontAtEmojiSize());
    return block;
}

} // namespace

StickerSource StickerSource::emoji(QString text)
{
    StickerSource source;
    source.m_kind = Kind::emoji;
    source.m_emoji = std::move(text);
    return source;
}

StickerSource StickerSource::image(std::shared_ptr<const StickerImage> image)
{
    StickerSource source;
    source.m_kind = Kind::image;
    source.m_image = std::move(image);
    return source;
}

double StickerSource::aspectRatio() const
{
    if (m_kind == Kind::image)
        return m_image ? m_image->aspectRatio() : 1.0;
    const QSizeF size = emojiSize(m_emoji);
    // A zero width would give a sticker no width at all; such an emoji is sized as a square instead.
    if (!(size.width() > 0) || !(size.height() > 0))
        return 1.0;
    return size.width() / size.height();
}

QFont StickerSource::emojiFont()
{
    if (!emojiFontInstalled())
        return generalFontAtEmojiSize();
    QFont font;
    font.setFamilies({emojiFamily});
    font.setPixelSize(emojiPixelSize);
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

QSizeF StickerSource::emojiSize(const QString& emoji)
{
    if (emoji.isEmpty())
        return {};
    return layOutEmoji(emoji)->size();
}

void StickerSource::drawEmoji(QPainter& painter, const QString& emoji, QPointF topLeft)
{
    if (emoji.isEmpty())
        return;
    layOutEmoji(emoji)->draw(painter, topLeft);
}

bool StickerSource::operator==(const StickerSource& other) const
{
    if (m_kind != other.m_kind)
        return false;
    if (m_kind == Kind::emoji)
        return m_emoji == other.m_emoji;
    if (!m_image || !other.m_image)
        return m_image == other.m_image;
    return m_image->id() == other.m_image->id();
}

} // namespace lumivex
