#pragma once

#include "core/model/StickerImage.h"

#include <QFont>
#include <QString>

#include <memory>

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

    // Width / height: the bitmap's, or the emoji's as drawn by emojiFont(); 1 when degenerate.
    double aspectRatio() const;

    // The font emoji are measured and drawn with: "Noto Color Emoji" at 200 px, else the general font.
    static QFont emojiFont();
    // Size of the emoji as drawn with emojiFont(), in pixels.
    static QSizeF emojiSize(const QString& emoji);

    // Emoji compare by text, images by id (never by pixels).
    bool operator==(const StickerSource& other) const;

private:
    Kind m_kind = Kind::emoji;
    QString m_emoji;
    std::shared_ptr<const StickerImage> m_image;
};

} // namespace lumivex
