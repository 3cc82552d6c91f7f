#include "core/stickers/EmojiCatalog.h"

#include <QCoreApplication>

#include <algorithm>

namespace lumivex::EmojiCatalog {

namespace {

QStringList emojis(const char* spaceSeparated)
{
    return QString::fromUtf8(spaceSeparated).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

constexpr int randomFaceAnimals = 30;

} // namespace

QString Category::title() const
{
    const auto& all = categories();
    const bool builtIn = std::any_of(all.begin(), all.end(), [&](const Category& each) { return each.id == id; });
    return builtIn ? QCoreApplication::translate("EmojiCatalog", id.toUtf8().constData()) : id;
}

// The first and last entries of each category are fixed; the ones between were chosen so that each is a single
// colour glyph of Noto Color Emoji (checked by the tests), with no emoji in two categories. The animals that
// follow the first eight are heads or round bodies that hide at least 90 % of a face when they cover it.
const std::vector<Category>& categories()
{
    static const std::vector<Category> all{
        {QString::fromUtf8(QT_TRANSLATE_NOOP("EmojiCatalog", "표시")), QStringLiteral("checkmark.circle"),
         emojis(
                "✅ ❌ ⭕️ ❗️ ❓ ‼️ ⁉️ ⚠️ ✔️ ✖️ ❎ ➕ ➖ ➗ 💯 🆗 🆕 🆒 🆓 🆘 🚫 ⛔ ❔ "
                "❕ 📌 📍 🔍 🔔 ⭐ 🌟 ✨ 💡 🎯 🚩 🏁 ⏰ ⏳ 🔒 🔑 ℹ️ ➡️ ⬅️ 🔴 🟠 🟡 "
                "🟢 🔵 🟣")},
        {QString::fromUtf8(QT_TRANSLATE_NOOP("EmojiCatalog", "얼굴")), QStringLiteral("face.smiling"),
         emojis(
                "😀 😃 😄 😁 😆 😅 😂 🤣 ☺️ 😊 😇 🙂 🙃 😉 😌 😍 🥰 😘 😋 😛 "
                "😜 🤪 🤨 🧐 🤓 😎 🤩 🥳 😏 😒 😔 😟 😢 😭 😤 😡 🤯 😳 😱 😰 "
                "🤗 🤔 🤭 🤫 😶 😐 😬 🙄 😮 😴 😵 🤢 😷 🥺 🤤 😪 😑 🙈 🙉 🙊")},
        {QString::fromUtf8(QT_TRANSLATE_NOOP("EmojiCatalog", "손·사람")), QStringLiteral("hand.thumbsup"),
         emojis(
                "👍 👎 👌 ✌️ 🤞 🤟 🤘 🤙 👈 👉 👆 👇 ☝️ ✋ 🖐️ 👋 🤏 ✊ 👊 👏 "
                "🙌 👐 🤝 🙏 ✍️ 💪 👀 👶 🧒 🧑 🧓 🙋 🙆 🙅 🤷 💁 🚶 🤦 🙇 🏃")},
        {QString::fromUtf8(QT_TRANSLATE_NOOP("EmojiCatalog", "하트·기호")), QStringLiteral("heart"),
         emojis(
                "❤️ 🧡 💛 💚 💙 💜 🖤 🤍 🤎 💔 ❣️ 💕 💞 💓 💗 💖 💘 💝 💟 💫 "
                "💥 💢 💤 🎵 🎶 ☀️ 🌙 ⚡ ❄️ 🌈 💧 🔥")},
        {QString::fromUtf8(QT_TRANSLATE_NOOP("EmojiCatalog", "동물·음식")), QStringLiteral("pawprint"),
         emojis(
                "🐶 🐱 🐭 🐹 🐰 🦊 🐻 🐼 🐨 🐯 🦁 🐮 🐷 🐽 🐸 🐵 🐺 🐗 🐴 🦝 "
                "🦓 🐻‍❄️ 🐑 🐔 🐥 🐤 🦉 🐞 🐢 🐌 🍎 🍊 🍋 🍌 🍉 🍇 🍓 🍒 🍑 "
                "🍍 🥑 🌽 🍞 🧀 🍔 🍟 🍕 🍣 🍜 🍩 🍰 🍪 ☕ 🍺 🍷 🥤")},
        {QString::fromUtf8(QT_TRANSLATE_NOOP("EmojiCatalog", "사물")), QStringLiteral("gift"),
         emojis(
                "🎉 🎊 🎁 🎈 🏆 🥇 🥈 🥉 🏅 🎖️ 🎮 🎲 🧩 🎨 🎬 🎤 🎧 🎸 🎹 🎺 "
                "🥁 📷 📱 💻 ⌨️ 💾 📺 ⌚ 📚 ✏️ 📝 📎 ✂️ 📦 ✉️ 💰 💎 🔨 🧸 👑 "
                "💍 🕶️ 👔 👕 👟 🧢 👓 🎀")},
    };
    return all;
}

const QStringList& randomFacePool()
{
    static const QStringList pool = [] {
        const auto named = [](const char* id) {
            const auto& all = categories();
            return std::find_if(all.begin(), all.end(), [&](const Category& c) { return c.id == QString::fromUtf8(id); })->emojis;
        };
        return named("얼굴") + named("동물·음식").mid(0, randomFaceAnimals);
    }();
    return pool;
}

std::vector<StickerSource> randomFaceStickers()
{
    std::vector<StickerSource> sources;
    for (const QString& emoji : randomFacePool())
        sources.push_back(StickerSource::emoji(emoji));
    return sources;
}

} // namespace lumivex::EmojiCatalog
