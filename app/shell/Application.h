#pragma once

#include "app/capture/CaptureCommand.h"
#include "app/hotkeys/HotKeyAction.h"
#include "core/document/LoadedImage.h"

#include <QList>
#include <QObject>
#include <QPointer>

#include <functional>

class QDBusConnection;
class QMainWindow;
class QMenu;
class QSystemTrayIcon;

namespace lumivex {

class CaptureFlow;
class CaptureSettings;
class EditorWindow;
class HotKeyCenter;
class HotKeyBackend;
class InstanceService;
class SettingsWindow;
class StartWindow;
struct CaptureResult;
struct LaunchRequest;

// The resident application: it owns the settings, the capture road, the global shortcuts, the tray icon, the start
// and settings windows and every editor window, turns every way of getting an image into an editor window, and
// decides when the process really ends. Closing windows and Ctrl+Q only put it in the background; the tray's
// quit item, a relaunch, SIGTERM/SIGINT/SIGHUP and the end of the desktop session end it.
class Application : public QObject {
    Q_OBJECT

public:
    // Global shortcuts through the platform's own backend.
    Application(CaptureSettings& settings, std::unique_ptr<CaptureFlow> capture, QObject* parent = nullptr);
    Application(CaptureSettings& settings, std::unique_ptr<CaptureFlow> capture,
                std::unique_ptr<HotKeyBackend> hotKeyBackend, QObject* parent = nullptr);
    ~Application() override;

    // The launch sequence: appearance, the login item on the very first launch, the one-time import, the
    // capture callback, the shortcuts, menus and tray, the files and capture of the command line, the start
    // window (unless something was opened or this is a login start) and, one turn later, the warning about
    // shortcuts the desktop refused.
    void launch(const LaunchRequest& request);
    // Becomes the one instance of the session on this bus; false when another process holds the name.
    bool serveOn(const QDBusConnection& bus);

    // The actions of the menus, the tray, the shortcuts and the instance interface.
    void captureArea();
    void captureWindow();
    void captureFullScreen();
    void runHotKey(HotKeyAction action);
    void openFromClipboard();
    void openFile();
    // Opens every path that loads as an image in its own editor window; the others are skipped. Whether at
    // least one opened.
    bool open(const QStringList& paths);
    EditorWindow* present(const LoadedImage& image);
    void presentCapture(const CaptureResult& result);
    void showSettings();
    void showWelcome();
    // Another start asked for nothing in particular: hidden windows come back; with no window at all, the start
    // window shows. The user is never locked out, even where the desktop has no tray.
    void reopen();
    // Ctrl+Q: every window hides, nothing closes; the tray icon stays.
    void sendToBackground();
    // The real end: windows close, the clipboard is handed to the desktop's clipboard manager as the
    // application object goes away, and the event loop ends with `exitCode`.
    void quit(int exitCode = 0);
    // A language change: a fresh copy starts once this one has ended.
    void relaunch();

    CaptureSettings& settings() const { return m_settings; }
    HotKeyCenter* hotKeys() const { return m_hotKeys; }
    CaptureFlow& capture() const { return *m_capture; }
    QSystemTrayIcon* tray() const { return m_tray; }
    QList<EditorWindow*> editors() const;
    StartWindow* startWindow() const;
    SettingsWindow* settingsWindow() const;
    // The editor window that has the keyboard focus, if any: the target of the editor commands of the menus.
    EditorWindow* frontEditor() const;
    bool isQuitting() const { return m_quitting; }

Q_SIGNALS:
    // An alert was shown (the clipboard held no image, a launch warning); for the owner's log and the tests.
    void alerted(const QString& message);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void followAppearance();
    void configureLoginItemOnce();
    void createTray();
    void rebuildTrayMenu();
    void installMenus(QMainWindow& window);
    void acceptDrops(QWidget& window);
    void warnAboutFailedHotKeys();
    void alert(const QString& message, const QString& informativeText);
    void bringToFront(QWidget& window);

    CaptureSettings& m_settings;
    std::unique_ptr<CaptureFlow> m_capture;
    std::unique_ptr<HotKeyBackend> m_hotKeyBackend; // handed to the hot-key centre at launch
    HotKeyCenter* m_hotKeys = nullptr;
    InstanceService* m_instance = nullptr;
    QSystemTrayIcon* m_tray = nullptr;
    QMenu* m_trayMenu = nullptr;
    QList<QPointer<EditorWindow>> m_editors;
    QPointer<StartWindow> m_startWindow;
    QPointer<SettingsWindow> m_settingsWindow;
    bool m_quitting = false;
};

} // namespace lumivex
