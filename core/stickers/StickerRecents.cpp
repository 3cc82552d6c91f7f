#include "core/stickers/StickerRecents.h"

#include "core/settings/KeyValueStore.h"
#include "core/settings/SettingsFileStore.h"
#include "core/stickers/StickerLibrary.h"

namespace lumivex {

namespace {

const QString emojiPrefix = QStringLiteral("e:");
const QString imagePrefix = QStringLiteral("i:");

} // namespace

StickerRecents::StickerRecents(KeyValueStore& store, QObject* parent)
    : QObject(parent), m_store(store), m_entries(store.stringList(storeKey).mid(0, limit))
{
}

StickerRecents& StickerRecents::shared()
{
    static StickerRecents recents(SettingsFileStore::standard());
    return recents;
}

void StickerRecents::record(const StickerSource& source, const StickerLibrary& library)
{
    QString key;
    if (source.isEmoji()) {
        key = emojiPrefix + source.emojiText();
    } else {
        const StickerLibrary::Item* item = source.stickerImage() ? library.item(source.stickerImage()->id()) : nullptr;
        if (!item)
            return;
        key = imagePrefix + item->fileName();
    }
    QStringList entries{key};
    for (const QString& entry : std::as_const(m_entries)) {
        if (entry != key)
            entries.append(entry);
    }
    m_entries = entries.mid(0, limit);
    m_store.setStringList(storeKey, m_entries);
    Q_EMIT entriesChanged();
}

std::vector<StickerRecents::Recent> StickerRecents::recents(const StickerLibrary& library) const
{
    std::vector<Recent> result;
    for (const QString& entry : m_entries) {
        if (entry.startsWith(emojiPrefix)) {
            result.push_back({entry, StickerSource::emoji(entry.mid(emojiPrefix.size()))});
        } else if (entry.startsWith(imagePrefix)) {
            if (const StickerLibrary::Item* item = library.itemNamed(entry.mid(imagePrefix.size())))
                result.push_back({entry, StickerSource::image(item->sticker)});
        }
    }
    return result;
}

} // namespace lumivex
