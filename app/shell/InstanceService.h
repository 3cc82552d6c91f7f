#pragma once

#include "app/capture/CaptureCommand.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QStringList>

#include <functional>
#include <optional>

namespace lumivex {

struct LaunchRequest;

// One Lumivex per user session. The first process owns the session-bus name below and exports this object; every
// later `lumivex …` hands its request over and exits. Desktop keybindings, scripts and Wayland sessions without
// global shortcuts reach the application the same way:
//
//   name       io.github.lumivex.Lumivex
//   object     /io/github/lumivex/Lumivex
//   interface  io.github.lumivex.Lumivex1
//     CaptureArea()                      the area overlay (as the area shortcut)
//     CaptureWindow()                    the window overlay
//     CaptureFullScreen()                the display under the pointer, into an editor
//     OpenClipboard()                    the clipboard's image in an editor (an alert when there is none)
//     OpenFiles(as paths)                each absolute path that loads, in its own editor window
//     ShowStartWindow()                  the start window
//     CaptureTo(s kind, s output, b clipboard)
//                                        kind is "area", "window" or "fullscreen"; the picture goes to the
//                                        absolute path `output` (PNG, or JPEG by extension) or, with clipboard
//                                        true, to the clipboard. The reply comes once it is written; a failure or
//                                        a cancelled capture is the error io.github.lumivex.Lumivex1.Error.Failed
//                                        with the reason.
//
//   e.g. gdbus call --session --dest io.github.lumivex.Lumivex --object-path /io/github/lumivex/Lumivex
//          --method io.github.lumivex.Lumivex1.CaptureArea   (one line)
class InstanceService : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "io.github.lumivex.Lumivex1")

public:
    static constexpr char serviceName[] = "io.github.lumivex.Lumivex";
    static constexpr char objectPath[] = "/io/github/lumivex/Lumivex";
    static constexpr char interfaceName[] = "io.github.lumivex.Lumivex1";
    static constexpr char failedError[] = "io.github.lumivex.Lumivex1.Error.Failed";

    // What the instance does for each request; every member must be set.
    struct Handlers {
        std::function<void(CaptureCommand::Kind)> capture;
        std::function<void()> openClipboard;
        std::function<void(const QStringList&)> openFiles;
        std::function<void()> showStartWindow;
        // Runs the capture and calls `done` once, with the failure's text or an empty text when delivered.
        std::function<void(const CaptureCommand&, std::function<void(const QString&)> done)> captureTo;
    };

    explicit InstanceService(Handlers handlers, QObject* parent = nullptr);
    ~InstanceService() override;

    // The session bus when this session has one. No bus is started for us: without an address in the
    // environment (or the user bus socket in XDG_RUNTIME_DIR) there is no instance to find and none to be.
    static std::optional<QDBusConnection> sessionBus();

    // Exports this object and takes the name. False when another process holds it (then nothing stays
    // registered) or the bus refused.
    bool claim(const QDBusConnection& bus);

    // Hands the request to the process that holds the name: the exit code this start should end with, or
    // nothing when no instance answered (then this process should become the instance). Messages for the user
    // (a failed capture) go to stderr.
    static std::optional<int> forward(const LaunchRequest& request, const QDBusConnection& bus);

public Q_SLOTS:
    Q_SCRIPTABLE void CaptureArea();
    Q_SCRIPTABLE void CaptureWindow();
    Q_SCRIPTABLE void CaptureFullScreen();
    Q_SCRIPTABLE void OpenClipboard();
    Q_SCRIPTABLE void OpenFiles(const QStringList& paths);
    Q_SCRIPTABLE void ShowStartWindow();
    Q_SCRIPTABLE void CaptureTo(const QString& kind, const QString& output, bool clipboard);

private:
    Handlers m_handlers;
    std::optional<QDBusConnection> m_bus;
};

} // namespace lumivex
