#include "core/settings/CaptureSettings.h"

#include "core/render/Exporter.h"
#include "core/settings/SettingsFileStore.h"

#include <QFileInfo>
#include <QJsonObject>
#include <QVariantMap>

namespace lumivex {

namespace {

QString keyString(const char* key)
{
    return QString::fromLatin1(key);
}

std::optional<GlobalShortcut> loadShortcut(const KeyValueStore& store, const char* key)
{
    const std::optional<QByteArray> json = store.data(keyString(key));
    return json ? GlobalShortcut::decoded(*json) : std::nullopt;
}

std::optional<QString> nonEmpty(const std::optional<QString>& text)
{
    if (!text || text->isEmpty())
        return std::nullopt;
    return text;
}

// The other tool's shortcut: its dictionary with a key code and unsigned modifier flags, kept only when at least
// one of our four modifiers is held (its other bits, such as Caps Lock, are dropped).
std::optional<GlobalShortcut> foreignShortcut(const KeyValueStore& from)
{
    const std::optional<QVariant> hotKey = from.value(QStringLiteral("global-hotkey"));
    if (!hotKey || hotKey->typeId() != QMetaType::QVariantMap)
        return std::nullopt;
    // Both must be numbers, the flags unsigned: the same rules as a stored shortcut's JSON.
    const std::optional<GlobalShortcut> stored = GlobalShortcut::decoded(QJsonObject::fromVariantMap(hotKey->toMap()));
    if (!stored)
        return std::nullopt;
    const GlobalShortcut masked(stored->keyCode(), stored->modifierFlags());
    if (!masked.isValidGlobalShortcut())
        return std::nullopt;
    return masked;
}

} // namespace

CaptureSettings::CaptureSettings(KeyValueStore& defaults, QObject* parent)
    : QObject(parent), m_defaults(defaults)
{
    load();
}

CaptureSettings& CaptureSettings::shared()
{
    static CaptureSettings instance(SettingsFileStore::standard());
    return instance;
}

void CaptureSettings::load()
{
    const bool firstRun = !m_defaults.boolValue(keyString(Keys::initialized));
    if (firstRun) {
        m_areaShortcut = defaultAreaShortcut();
        m_clipboardShortcut = defaultClipboardShortcut();
    } else {
        // An absent key is a shortcut the user cleared; it must not come back as the default.
        m_areaShortcut = loadShortcut(m_defaults, Keys::areaShortcut);
        m_windowShortcut = loadShortcut(m_defaults, Keys::windowShortcut);
        m_fullScreenShortcut = loadShortcut(m_defaults, Keys::fullScreenShortcut);
        m_clipboardShortcut = loadShortcut(m_defaults, Keys::clipboardShortcut);
    }
    m_autoCopyAfterCapture = m_defaults.boolValue(keyString(Keys::autoCopyAfterCapture));
    m_autoSaveOnCopy = m_defaults.boolValue(keyString(Keys::autoSaveOnCopy));
    m_closeAfterCopy = m_defaults.boolValue(keyString(Keys::closeAfterCopy));
    m_faceCoverTipDismissed = m_defaults.boolValue(keyString(Keys::faceCoverTipDismissed));
    m_saveDirectory = nonEmpty(m_defaults.string(keyString(Keys::saveDirectory)));
    m_appearanceMode = AppearanceModes::fromRawValue(m_defaults.string(keyString(Keys::appearanceMode)).value_or(QString()))
                           .value_or(AppearanceMode::system);
    m_language = AppLanguages::fromRawValue(m_defaults.string(keyString(Keys::language)).value_or(QString()))
                     .value_or(AppLanguage::system);
    if (firstRun) {
        m_defaults.setBool(keyString(Keys::initialized), true);
        storeShortcut(Keys::areaShortcut, m_areaShortcut);
        storeShortcut(Keys::clipboardShortcut, m_clipboardShortcut);
    }
}

void CaptureSettings::storeShortcut(const char* key, const std::optional<GlobalShortcut>& shortcut)
{
    if (shortcut)
        m_defaults.setData(keyString(key), shortcut->encoded());
    else
        m_defaults.remove(keyString(key));
}

void CaptureSettings::setShortcut(std::optional<GlobalShortcut>& member, const char* key,
                                  const std::optional<GlobalShortcut>& value)
{
    if (member == value)
        return;
    member = value;
    storeShortcut(key, value);
    Q_EMIT changed();
}

void CaptureSettings::setFlag(bool& member, const char* key, bool value)
{
    if (member == value)
        return;
    member = value;
    m_defaults.setBool(keyString(key), value);
    Q_EMIT changed();
}

void CaptureSettings::setAreaShortcut(const std::optional<GlobalShortcut>& shortcut)
{
    setShortcut(m_areaShortcut, Keys::areaShortcut, shortcut);
}

void CaptureSettings::setWindowShortcut(const std::optional<GlobalShortcut>& shortcut)
{
    setShortcut(m_windowShortcut, Keys::windowShortcut, shortcut);
}

void CaptureSettings::setFullScreenShortcut(const std::optional<GlobalShortcut>& shortcut)
{
    setShortcut(m_fullScreenShortcut, Keys::fullScreenShortcut, shortcut);
}

void CaptureSettings::setClipboardShortcut(const std::optional<GlobalShortcut>& shortcut)
{
    setShortcut(m_clipboardShortcut, Keys::clipboardShortcut, shortcut);
}

void CaptureSettings::setAutoCopyAfterCapture(bool enabled)
{
    setFlag(m_autoCopyAfterCapture, Keys::autoCopyAfterCapture, enabled);
}

void CaptureSettings::setAutoSaveOnCopy(bool enabled)
{
    setFlag(m_autoSaveOnCopy, Keys::autoSaveOnCopy, enabled);
}

void CaptureSettings::setCloseAfterCopy(bool enabled)
{
    setFlag(m_closeAfterCopy, Keys::closeAfterCopy, enabled);
}

void CaptureSettings::setFaceCoverTipDismissed(bool dismissed)
{
    setFlag(m_faceCoverTipDismissed, Keys::faceCoverTipDismissed, dismissed);
}

void CaptureSettings::setSaveDirectory(const std::optional<QString>& path)
{
    const std::optional<QString> directory = nonEmpty(path);
    if (m_saveDirectory == directory)
        return;
    m_saveDirectory = directory;
    if (directory)
        m_defaults.setString(keyString(Keys::saveDirectory), *directory);
    else
        m_defaults.remove(keyString(Keys::saveDirectory));
    Q_EMIT changed();
}

void CaptureSettings::setAppearanceMode(AppearanceMode mode)
{
    if (m_appearanceMode == mode)
        return;
    m_appearanceMode = mode;
    m_defaults.setString(keyString(Keys::appearanceMode), AppearanceModes::rawValue(mode));
    Q_EMIT changed();
}

void CaptureSettings::setLanguage(AppLanguage language)
{
    if (m_language == language)
        return;
    m_language = language;
    m_defaults.setString(keyString(Keys::language), AppLanguages::rawValue(language));
    // Another store (a test's, an imported one) must not change the language this application starts in.
    if (m_defaults.isStandard())
        AppLanguages::apply(language, m_defaults);
    Q_EMIT changed();
}

std::optional<QString> CaptureSettings::usableSaveDirectory() const
{
    if (!m_saveDirectory || !QFileInfo(*m_saveDirectory).isDir())
        return std::nullopt;
    return m_saveDirectory;
}

std::optional<QString> CaptureSettings::autoSave(const QImage& image, double pixelScale, const QDateTime& now) const
{
    if (!m_autoSaveOnCopy || !m_saveDirectory)
        return std::nullopt;
    return Exporter::saveAutomatically(image, pixelScale, *m_saveDirectory, now);
}

bool CaptureSettings::importXnapperSettings(const KeyValueStore* from)
{
    if (!from)
        return false;
    bool imported = false;
    if (const std::optional<GlobalShortcut> shortcut = foreignShortcut(*from)) {
        setAreaShortcut(shortcut);
        imported = true;
    }
    if (from->contains(QStringLiteral("settings.save-screenshot"))) {
        setAutoSaveOnCopy(from->boolValue(QStringLiteral("settings.save-screenshot")));
        imported = true;
    }
    if (const std::optional<QString> path = nonEmpty(from->string(QStringLiteral("settings.save-path")))) {
        setSaveDirectory(path);
        imported = true;
    }
    if (from->contains(QStringLiteral("settings.close-after-copy"))) {
        setCloseAfterCopy(from->boolValue(QStringLiteral("settings.close-after-copy")));
        imported = true;
    }
    return imported;
}

void CaptureSettings::importXnapperSettingsOnce(const KeyValueStore* from)
{
    const QString attempted = keyString(Keys::xnapperImportAttempted);
    if (m_defaults.boolValue(attempted))
        return;
    m_defaults.setBool(attempted, true);
    importXnapperSettings(from);
}

} // namespace lumivex
