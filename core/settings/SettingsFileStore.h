#pragma once

#include "core/settings/KeyValueStore.h"

#include <QSettings>
#include <QString>

#include <memory>

namespace lumivex {

// The key-value store in an INI file, by default $XDG_CONFIG_HOME/lumivex/lumivex.conf. Every write is
// synced to disk at once, so a crash or a second process never sees a stale file. A file that cannot be read
// (truncated, binary, unreadable) loads as empty; one that cannot be written keeps the values in memory for
// this run and reports it through writable().
class SettingsFileStore : public KeyValueStore {
public:
    explicit SettingsFileStore(const QString& path);

    // The user's store at the standard path, created on first use and kept for the whole run (main thread).
    static SettingsFileStore& standard();
    // $XDG_CONFIG_HOME/lumivex/lumivex.conf, or ~/.config/lumivex/lumivex.conf when the variable is unset.
    static QString standardPath();

    QString path() const;
    // Whether the last write reached the file.
    bool writable() const;

    // True for a store at standardPath(), however it was opened.
    bool isStandard() const override;

    std::optional<QVariant> value(const QString& key) const override;
    void setValue(const QString& key, const QVariant& value) override;
    void remove(const QString& key) override;

private:
    static QString settingsKey(const QString& key);

    std::unique_ptr<QSettings> m_settings;
};

} // namespace lumivex
