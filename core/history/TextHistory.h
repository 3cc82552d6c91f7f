#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QUuid>

#include <optional>
#include <vector>

namespace lumivex {

class KeyValueStore;

// The texts the user copied out of pictures, most recent first, kept in the preferences store so they survive a
// restart. No two entries hold the same text. Main thread only.
class TextHistory : public QObject {
    Q_OBJECT

public:
    struct Entry {
        QUuid id;     // kept when the entry is replaced by an edited text
        QString text; // exactly as copied, not trimmed
        QDateTime date; // when it was last copied
        bool operator==(const Entry&) const = default;
    };

    static constexpr int limit = 30;
    static inline const QString storeKey = QStringLiteral("lumivex.copiedTextHistory");

    // Reads the stored list once; the store must outlive this object. Unreadable data starts an empty history.
    explicit TextHistory(KeyValueStore& store, QObject* parent = nullptr);

    // The user's history over the standard preferences store, created on first use and kept for the whole run.
    static TextHistory& shared();

    const std::vector<Entry>& entries() const { return m_entries; }

    // Puts the text at the top with the date `now`. The entry keeps the id `replacing` when one is given (an edited
    // entry), otherwise the id of an entry with exactly this text, otherwise a new one; any other entry with that id
    // or exactly that text goes. Nothing happens for a text that is blank once trimmed.
    std::optional<Entry> record(const QString& text, const std::optional<QUuid>& replacing, const QDateTime& now);
    void remove(const QUuid& id);
    void clear();

    // The stored form: a JSON array of {"id": UUID text, "text": string, "date": seconds since 2001-01-01 UTC}.
    static QByteArray encode(const std::vector<Entry>& entries);
    // The whole list, or nothing when the data is not a list of well-formed entries.
    static std::optional<std::vector<Entry>> decode(const QByteArray& data);

Q_SIGNALS:
    void entriesChanged();

private:
    void publish(std::vector<Entry> entries);

    KeyValueStore& m_store;
    std::vector<Entry> m_entries;
};

} // namespace lumivex
