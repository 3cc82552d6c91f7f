#include "core/settings/SettingsFileStore.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace lumivex {

SettingsFileStore::SettingsFileStore(const QString& path)
    : m_settings(std::make_unique<QSettings>(path, QSettings::IniFormat))
{
    // Without a group every key would land in [General]; the file stays one flat list either way.
    m_settings->setFallbacksEnabled(false);
}

SettingsFileStore& SettingsFileStore::standard()
{
    static SettingsFileStore store(standardPath());
    return store;
}

QString SettingsFileStore::standardPath()
{
    QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    // The XDG rules ignore a relative value.
    if (configHome.isEmpty() || QDir::isRelativePath(configHome))
        configHome = QDir::homePath() + QStringLiteral("/.config");
    return configHome + QStringLiteral("/lumivex/lumivex.conf");
}

QString SettingsFileStore::path() const
{
    return m_settings->fileName();
}

bool SettingsFileStore::writable() const
{
    return m_settings->status() == QSettings::NoError;
}

bool SettingsFileStore::isStandard() const
{
    return QFileInfo(path()).absoluteFilePath() == QFileInfo(standardPath()).absoluteFilePath();
}

QString SettingsFileStore::settingsKey(const QString& key)
{
    // QSettings reads "/" and "\" as group separators; our keys are flat names.
    QString flat = key;
    flat.replace(QLatin1Char('/'), QLatin1Char('.'));
    flat.replace(QLatin1Char('\\'), QLatin1Char('.'));
    return flat;
}

std::optional<QVariant> SettingsFileStore::value(const QString& key) const
{
    const QString name = settingsKey(key);
    if (!m_settings->contains(name))
        return std::nullopt;
    return m_settings->value(name);
}

void SettingsFileStore::setValue(const QString& key, const QVariant& value)
{
    m_settings->setValue(settingsKey(key), value);
    m_settings->sync();
}

void SettingsFileStore::remove(const QString& key)
{
    m_settings->remove(settingsKey(key));
    m_settings->sync();
}

} // namespace lumivex
