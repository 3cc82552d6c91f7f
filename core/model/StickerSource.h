#pragma once

#include "core/model/StickerImage.h"

#include <QFont>
#include <QPointF>
#include <QSizeF>
#include <QString>

#include <memory>

class QPainter;

namespace lumivex {

// What a sticker shows: one emoji as text, or a shared bitmap.
class StickerSource {
public:
    enum class Kind { emoji, image };

    static StickerSource emoji(QString text);
    static StickerSource image(std::shared_ptr<const StickerImage> image);

    Kind kind() const { return m_kind; }
    bool isEmoji() const { return m_kind == Kind::emoji; }
    const QString& emojiText() const { return m_emoji; }
    const std::shared_ptr<const StickerImage>& stickerImage() const { return m_image; }

    // Width / height: the bitmap's, or the emoji's as drawn by drawEmoji(); 1 when either is not positive.
    double aspectRatio() const;

    // The font emoji are measured and drawn with: "Noto Color Emoji" at 200 px without font merging (so
    // keycaps, flags, skin tones and joined sequences shape as one glyph), else the general font at 200 px.
    static QFont emojiFont();
    // Pixel size emoji are laid out at before the renderer scales them to the sticker's frame.
    static constexpr int emojiPixelSize = 200;
    // Size of the emoji as drawn by drawEmoji(), in pixels. Text the emoji font has no glyph for (digits and
    // spaces come out blank in it, letters as boxes) is measured and drawn in the general font instead.
    static QSizeF emojiSize(const QString& emoji);
    // Draws the emoji at its emojiSize() with that box's top-left corner at topLeft. The renderer scales the
    // painter to fit the sticker's frame first.
    static void drawEmoji(QPainter& painter, const QString& emoji, QPointF topLeft);

    // Emoji compare by text, images by id (never by pixels).
    bool operator==(const StickerSource& other) const;

private:
    Kind m_kind = Kind::emoji;
    QString m_emoji;
    std::shared_ptr<const StickerImage> m_image;
};

} // namespace lumivex
