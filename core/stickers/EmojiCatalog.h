#pragma once

#include "core/model/StickerSource.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace lumivex {

// The built-in emoji of the sticker picker, in six categories. Every entry draws as one colour picture in
// Noto Color Emoji.
namespace EmojiCatalog {

struct Category {
    QString id;     // also the Korean title before translation
    QString symbol; // name of the category tab's icon; the window maps it to a picture of the same meaning
    QStringList emojis;

    // The id through the translation table for the six built-in ids; any other id unchanged.
    QString title() const;
    bool operator==(const Category&) const = default;
};

const std::vector<Category>& categories();

// The emoji of "얼굴" followed by the first 30 of "동물·음식" (the animals): 90 in all.
const QStringList& randomFacePool();
// The same pool as emoji sticker sources, for covering faces with random emoji.
std::vector<StickerSource> randomFaceStickers();

} // namespace EmojiCatalog

} // namespace lumivex
