#pragma once

#include "core/model/StickerSource.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <vector>

namespace lumivex {

class KeyValueStore;
class StickerLibrary;

// The stickers used last, most recent first, kept in the preferences store as text keys: "e:" and the emoji for
// an emoji, "i:" and the library file's name for an image. Image entries resolve through the library's file
// names, so they survive a reload (which gives every sticker a new id). Main thread only.
class StickerRecents : public QObject {
    Q_OBJECT

public:
    struct Recent {
        QString id; // the stored key
        StickerSource source;
        bool operator==(const Recent&) const = default;
    };

    static constexpr int limit = 24;
    static inline const QString storeKey = QStringLiteral("lumivex.recentStickers");

    // Reads the stored list once; the store must outlive this object.
    explicit StickerRecents(KeyValueStore& store, QObject* parent = nullptr);

    // The user's list over the standard preferences store, created on first use and kept for the whole run.
    static StickerRecents& shared();

    const QStringList& entries() const { return m_entries; }

    // Moves the sticker to the front (dropping its older entry and anything past the limit) and stores the list.
    // An image that is not in the library is not recorded.
    void record(const StickerSource& source, const StickerLibrary& library);
    // The entries that can be shown now, in order. An image entry whose file is gone is left out but stays stored,
    // so it comes back once a file of that name exists again.
    std::vector<Recent> recents(const StickerLibrary& library) const;

Q_SIGNALS:
    void entriesChanged();

private:
    KeyValueStore& m_store;
    QStringList m_entries;
};

} // namespace lumivex
