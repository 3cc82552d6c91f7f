#pragma once

#include "core/settings/AppLanguage.h"
#include "core/settings/AppearanceMode.h"
#include "core/settings/GlobalShortcut.h"

#include <QDateTime>
#include <QImage>
#include <QObject>
#include <QString>

#include <optional>

namespace lumivex {

class KeyValueStore;

// The user's preferences: the four global shortcuts, what happens after a capture and after a copy, the
// automatic-save folder, the appearance, the interface language and a dismissed tip.
//
// Every setter stores the new value at once (write-through) and then emits changed(); setting the value a
// property already has does neither. Values that cannot be read load as their fallbacks, so a damaged store
// only ever brings back defaults. Main thread only.
class CaptureSettings : public QObject {
    Q_OBJECT

public:
    // The store keys.
    struct Keys {
        static constexpr char areaShortcut[] = "lumivex.shortcut.area";
        static constexpr char windowShortcut[] = "lumivex.shortcut.window";
        static constexpr char fullScreenShortcut[] = "lumivex.shortcut.fullScreen";
        static constexpr char clipboardShortcut[] = "lumivex.shortcut.clipboard";
        static constexpr char autoCopyAfterCapture[] = "lumivex.autoCopyAfterCapture";
        static constexpr char autoSaveOnCopy[] = "lumivex.autoSaveOnCopy";
        static constexpr char saveDirectory[] = "lumivex.saveDirectory";
        static constexpr char closeAfterCopy[] = "lumivex.closeAfterCopy";
        static constexpr char appearanceMode[] = "lumivex.appearance";
        static constexpr char language[] = "lumivex.language";
        static constexpr char faceCoverTipDismissed[] = "lumivex.faceCoverTipDismissed";
        static constexpr char initialized[] = "lumivex.initialized";
        static constexpr char xnapperImportAttempted[] = "lumivex.xnapperImportAttempted";
    };

    // Ctrl+Shift+E (stored as Shift and Command on key code 14).
    static GlobalShortcut defaultAreaShortcut() { return {14, GlobalShortcut::shiftFlag | GlobalShortcut::commandFlag}; }
    // Alt+Super+V (stored as Control and Option on key code 9).
    static GlobalShortcut defaultClipboardShortcut() { return {9, GlobalShortcut::controlFlag | GlobalShortcut::optionFlag}; }
    // The screenshot tool whose preferences are imported once. No such store exists on Linux.
    static constexpr char xnapperBundleID[] = "com.devuap.beautyshotapp";

    // Loads every property from the store; the very first load also writes the default shortcuts.
    explicit CaptureSettings(KeyValueStore& defaults, QObject* parent = nullptr);
    // The instance over the user's store (SettingsFileStore::standard()), created on first use.
    static CaptureSettings& shared();

    KeyValueStore& defaults() const { return m_defaults; }

    const std::optional<GlobalShortcut>& areaShortcut() const { return m_areaShortcut; }
    void setAreaShortcut(const std::optional<GlobalShortcut>& shortcut);
    const std::optional<GlobalShortcut>& windowShortcut() const { return m_windowShortcut; }
    void setWindowShortcut(const std::optional<GlobalShortcut>& shortcut);
    const std::optional<GlobalShortcut>& fullScreenShortcut() const { return m_fullScreenShortcut; }
    void setFullScreenShortcut(const std::optional<GlobalShortcut>& shortcut);
    const std::optional<GlobalShortcut>& clipboardShortcut() const { return m_clipboardShortcut; }
    void setClipboardShortcut(const std::optional<GlobalShortcut>& shortcut);

    bool autoCopyAfterCapture() const { return m_autoCopyAfterCapture; }
    void setAutoCopyAfterCapture(bool enabled);
    bool autoSaveOnCopy() const { return m_autoSaveOnCopy; }
    void setAutoSaveOnCopy(bool enabled);
    // The folder's path; an empty path counts as none.
    const std::optional<QString>& saveDirectory() const { return m_saveDirectory; }
    void setSaveDirectory(const std::optional<QString>& path);
    bool closeAfterCopy() const { return m_closeAfterCopy; }
    void setCloseAfterCopy(bool enabled);
    AppearanceMode appearanceMode() const { return m_appearanceMode; }
    void setAppearanceMode(AppearanceMode mode);
    // Stored here; over the user's own store it also becomes the application's language override (applied at
    // the next launch).
    AppLanguage language() const { return m_language; }
    void setLanguage(AppLanguage language);
    bool faceCoverTipDismissed() const { return m_faceCoverTipDismissed; }
    void setFaceCoverTipDismissed(bool dismissed);

    // saveDirectory when it names an existing folder; otherwise nothing.
    std::optional<QString> usableSaveDirectory() const;
    // After a copy in the editor: when automatic saving is on and a folder is set, writes the image as a PNG
    // named after `now` into the folder (created when missing), numbering the name when it is taken. The written
    // file's path, or nothing when saving is off or failed (then no partial file is left).
    std::optional<QString> autoSave(const QImage& image, double pixelScale, const QDateTime& now) const;

    // Takes the other tool's shortcut (only with a modifier), automatic saving, save folder and closing after a
    // copy from its store. Whether anything was taken; false without a store.
    bool importXnapperSettings(const KeyValueStore* from);
    // The import above at most once per user: the attempt is recorded first, so a missing store counts as tried.
    void importXnapperSettingsOnce(const KeyValueStore* from);

Q_SIGNALS:
    // After any property took a new value (already stored).
    void changed();

private:
    void load();
    void storeShortcut(const char* key, const std::optional<GlobalShortcut>& shortcut);
    void setShortcut(std::optional<GlobalShortcut>& member, const char* key, const std::optional<GlobalShortcut>& value);
    void setFlag(bool& member, const char* key, bool value);

    KeyValueStore& m_defaults;
    std::optional<GlobalShortcut> m_areaShortcut;
    std::optional<GlobalShortcut> m_windowShortcut;
    std::optional<GlobalShortcut> m_fullScreenShortcut;
    std::optional<GlobalShortcut> m_clipboardShortcut;
    bool m_autoCopyAfterCapture = false;
    bool m_autoSaveOnCopy = false;
    std::optional<QString> m_saveDirectory;
    bool m_closeAfterCopy = false;
    AppearanceMode m_appearanceMode = AppearanceMode::system;
    AppLanguage m_language = AppLanguage::system;
    bool m_faceCoverTipDismissed = false;
};

} // namespace lumivex
