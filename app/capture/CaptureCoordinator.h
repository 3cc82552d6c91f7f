#pragma once

#include "app/capture/CaptureResult.h"
#include "app/capture/CaptureSession.h"
#include "app/platform/CaptureBackend.h"

#include <QObject>
#include <QPointer>
#include <QUrl>

#include <functional>

namespace lumivex {

// The one way into a capture: an overlay capture (area or window) or the display under the pointer at once.
// It freezes the displays through the backend, runs one capture at a time and hands each result to
// `onCaptured`. A request while a capture is being prepared or is on screen is ignored.
class CaptureCoordinator : public QObject {
    Q_OBJECT

public:
    using Callback = std::function<void(const CaptureResult&)>;
    // Shows a failure to the user; the default is a modal alert (the permission alert for permissionDenied).
    using FailureHandler = std::function<void(const CaptureError&)>;

    explicit CaptureCoordinator(CaptureBackend& backend, QObject* parent = nullptr);
    ~CaptureCoordinator() override;

    void setOnCaptured(Callback callback) { m_onCaptured = std::move(callback); }
    void setFailureHandler(FailureHandler handler) { m_onFailure = std::move(handler); }

    void startOverlay(CaptureSession::Mode mode);
    void captureFullScreen();

    CaptureSession* session() const { return m_session; }
    bool isBusy() const { return m_busy; }

    // "화면 기록 권한이 필요합니다" with a button that opens the settings page when there is one.
    static void showPermissionAlert(const QUrl& settingsUrl);
    static void showFailureAlert(const CaptureError& error);

Q_SIGNALS:
    // Every capture road ends here once: delivered (after onCaptured ran), cancelled, refused or failed.
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
    Callback m_onCaptured;
    FailureHandler m_onFailure;
    QPointer<CaptureSession> m_session;
    bool m_busy = false;
};

} // namespace lumivex
