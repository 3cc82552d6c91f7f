#pragma once

#include "app/hotkeys/HotKeyAction.h"
#include "core/settings/AppLanguage.h"

#include <QUrl>
#include <QWidget>

#include <functional>
#include <map>

class QLabel;

namespace lumivex {

class CaptureSettings;
class DesignDropdown;
class DesignSegmented;
class DesignToggle;
class HotKeyCenter;
class ShortcutRecorderRow;

// The settings: the four shortcut recorders with the refused marks, what happens after a capture, the save
// folder, launch at login, the theme, the language and the screen-capture permission. Every control writes the
// settings at once; the shortcut centre follows them by itself.
class SettingsView : public QWidget {
    Q_OBJECT

public:
    // What the view needs from the application around it.
    struct Services {
        std::function<bool()> loginItemEnabled;
        std::function<QString(bool)> setLoginItem; // the failure's text, or empty
        std::function<void()> relaunch;
        std::function<bool()> permissionGranted;
        QUrl settingsUrl; // the desktop's page for the permission; empty where there is none
    };

    SettingsView(CaptureSettings& settings, HotKeyCenter& hotKeys, Services services, QWidget* parent = nullptr);

    ShortcutRecorderRow* recorder(HotKeyAction action) const { return m_recorders.at(action); }
    DesignToggle* launchAtLoginSwitch() const { return m_launchAtLogin; }
    // Chooses a language as the drop-down does: nothing for the current one, otherwise stores it and asks
    // whether to relaunch now. Returns whether it asked.
    bool changeLanguage(AppLanguage language);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* shortcutsSection();
    QWidget* afterCaptureSection();
    QWidget* startSection();
    QWidget* appearanceSection();
    QWidget* languageSection();
    QWidget* permissionSection();
    void chooseSaveFolder();
    void setLaunchAtLogin(bool enabled);
    void refreshFromSystem();
    void refreshFromSettings();
    void refreshFailed();

    CaptureSettings& m_settings;
    HotKeyCenter& m_hotKeys;
    Services m_services;
    std::map<HotKeyAction, ShortcutRecorderRow*> m_recorders;
    DesignToggle* m_autoCopy = nullptr;
    DesignToggle* m_autoSave = nullptr;
    DesignToggle* m_closeAfterCopy = nullptr;
    DesignToggle* m_launchAtLogin = nullptr;
    QLabel* m_folder = nullptr;
    DesignSegmented* m_theme = nullptr;
    DesignDropdown* m_language = nullptr;
    QLabel* m_permission = nullptr;
};

} // namespace lumivex
