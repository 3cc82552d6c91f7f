#pragma once

#include "app/capture/CaptureCommand.h"

#include <QObject>

#include <memory>

namespace lumivex {

class CaptureBackend;
class CaptureCoordinator;
struct CaptureResult;

// Runs the capture the command line asked for: freezes the displays through the platform's backend, lets the
// user pick, and opens the result in an editor window (or writes it to the --output file, or puts it on the
// clipboard). When the capture is cancelled or fails and no other window is open, the application ends with exit
// code 1; after writing an --output file it ends with 0, and after a copy once another program has taken the
// clipboard over.
class CaptureLauncher : public QObject {
    Q_OBJECT

public:
    CaptureLauncher(CaptureCommand command, QObject* parent = nullptr);
    ~CaptureLauncher() override;

    // Starts once the event loop runs.
    void start();
    CaptureCoordinator& coordinator() const { return *m_coordinator; }

private:
    void deliver(const CaptureResult& result);
    void end(bool delivered);
    static bool anyWindowOpen();

    CaptureCommand m_command;
    std::unique_ptr<CaptureBackend> m_backend;
    CaptureCoordinator* m_coordinator;
    bool m_delivered = false;
};

} // namespace lumivex
