#pragma once

#include "app/capture/CaptureResult.h"
#include "app/capture/CaptureSession.h"
#include "app/platform/CaptureBackend.h"

#include <QObject>
#include <QPointer>

#include <functional>

namespace lumivex {

// The one way into a capture: an overlay capture (area or window) or the display under the pointer at once.
// It freezes the displays through the backend and runs one capture at a time; a request while a capture is being
// prepared or is on screen is ignored. It reports only through its signals and shows nothing but the overlays:
// what to do with a picture or a failure is its owner's business (CaptureFlow, app/shell).
class CaptureCoordinator : public QObject {
    Q_OBJECT

public:
    explicit CaptureCoordinator(CaptureBackend& backend, QObject* parent = nullptr);
    ~CaptureCoordinator() override;

    void startOverlay(CaptureSession::Mode mode);
    void captureFullScreen();

    CaptureSession* session() const { return m_session; }
    bool isBusy() const { return m_busy; }

Q_SIGNALS:
    // A picture was taken. The coordinator is free again by then, so a receiver may start the next capture.
    void captured(const lumivex::CaptureResult& result);
    // Nothing was taken, and why (permissionDenied after access was asked for again).
    void failed(const lumivex::CaptureError& error);
    // Every capture road ends here once, after `captured` or `failed`: delivered, cancelled, refused or failed.
    void captureEnded(bool delivered);

private:
    bool mayStart();
    void freezeThen(std::function<void(const QList<DisplayShot>&)> continuation);
    void pickWithDesktop();
    // Runs `continuation` with the shots, `none` when there are none, or shows the failure.
    void awaitShots(QFuture<DisplayCapture> future, std::function<void(const QList<DisplayShot>&)> continuation,
                    std::function<void()> none);
    void openSession(CaptureSession::Mode mode, const QList<DisplayShot>& shots);
    void deliverDisplayUnderPointer(const QList<DisplayShot>& shots);
    void deliverDisplayAt(const QList<DisplayShot>& shots, std::optional<Point> pointer);
    void deliverWholeDisplay(const DisplayShot& shot);
    void fail(const CaptureError& error);

    CaptureBackend& m_backend;
    QPointer<CaptureSession> m_session;
    bool m_busy = false;
};

} // namespace lumivex
