#pragma once

#include "app/capture/CaptureCommand.h"
#include "app/capture/CaptureSession.h"

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

namespace lumivex {

class CaptureBackend;
class CaptureCoordinator;
class CaptureError;
class EditorWindow;
struct CaptureResult;

// The capture road of the application: it owns the platform's capture backend and the coordinator, opens every
// captured picture in an editor window under the capture's name, and tells the user about failures. Shortcuts,
// menus and the command line all start captures here.
class CaptureFlow : public QObject {
    Q_OBJECT

public:
    explicit CaptureFlow(std::unique_ptr<CaptureBackend> backend, QObject* parent = nullptr);
    ~CaptureFlow() override;

    CaptureCoordinator& coordinator() const { return *m_coordinator; }

    void start(CaptureCommand::Kind kind);
    // The capture the command line asked for, once: its picture goes to an editor, or to the --output file, after
    // which the application ends with 0 (1 when the file could not be written), or to the clipboard, after which
    // it ends with 0 once another program has taken the clipboard over. A capture that ends without a picture
    // while no window is open ends the application with 1, and so does an --output file that could not be
    // written, known before any overlay opens.
    void runCommand(const CaptureCommand& command);
    // A capture to a file or the clipboard asked for by another `lumivex` process, done here so that it costs no
    // start-up and the clipboard outlives that process. `done` runs once: with an empty text when the picture was
    // delivered, otherwise with the reason (cancelled, failed, not writable, another capture on screen).
    void runForwarded(const CaptureCommand& command, std::function<void(const QString&)> done);
    // Who opens captured pictures for editing; without one the flow opens an editor window itself.
    void setPresenter(std::function<void(const CaptureResult&)> presenter) { m_presenter = std::move(presenter); }

Q_SIGNALS:
    void editorOpened(lumivex::EditorWindow* editor);

private:
    void deliver(const CaptureResult& result);
    void report(const CaptureError& error);
    void endCommand(bool delivered);

    std::unique_ptr<CaptureBackend> m_backend;
    CaptureCoordinator* m_coordinator; // a child, deleted before the backend it refers to
    CaptureCommand m_command; // what runCommand asked for; by default a capture for the editor
    bool m_delivered = false;
    QString m_failure; // why the last capture to a file or the clipboard delivered nothing
    std::function<void(const CaptureResult&)> m_presenter;
    QPointer<QMessageBox> m_alert; // the last failure shown, while it is up
};

} // namespace lumivex
