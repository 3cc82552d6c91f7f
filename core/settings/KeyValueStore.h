#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

namespace lumivex {

// The per-user preferences store: a flat map from keys ("lumivex.autoSaveOnCopy", ...) to booleans, strings,
// string lists, data and whatever nested values another program wrote. Readers are lenient on purpose: a value
// of the wrong type or a garbled string reads as absent, never as an error, so a damaged settings file can only
// bring back defaults. Writers reach the backing storage at once (write-through).
class KeyValueStore {
public:
    virtual ~KeyValueStore() = default;

    // The raw stored value, or nothing when the key is absent.
    virtual std::optional<QVariant> value(const QString& key) const = 0;
    virtual void setValue(const QString& key, const QVariant& value) = 0;
    virtual void remove(const QString& key) = 0;

    bool contains(const QString& key) const { return value(key).has_value(); }
    // Whether this is the user's own store, the one the application reads its language override from at launch.
    virtual bool isStandard() const { return false; }

    // true only for a stored boolean true (or its text "true"/"1"); absent or unreadable is false.
    bool boolValue(const QString& key) const;
    // A stored boolean, or nothing when the key is absent or holds no recognisable boolean.
    std::optional<bool> optionalBool(const QString& key) const;
    std::optional<QString> string(const QString& key) const;
    // Absent or unreadable is the empty list. A single stored string reads as a one-element list.
    QStringList stringList(const QString& key) const;
    std::optional<QByteArray> data(const QString& key) const;

    void setBool(const QString& key, bool value) { setValue(key, value); }
    void setString(const QString& key, const QString& value) { setValue(key, value); }
    void setStringList(const QString& key, const QStringList& value) { setValue(key, value); }
    void setData(const QString& key, const QByteArray& value) { setValue(key, value); }
};

} // namespace lumivex
