#include "app/capture/CaptureCoordinator.h"

#include "app/platform/CaptureBackend.h"
#include "core/capture/CaptureGeometry.h"

#include <QFutureWatcher>

namespace lumivex {

CaptureCoordinator::CaptureCoordinator(CaptureBackend& backend, QObject* parent)
    : QObject(parent)
    , m_backend(backend)
{
}

CaptureCoordinator::~CaptureCoordinator() = default;

bool CaptureCoordinator::mayStart()
{
    if (m_busy || m_session)
        return false;
    if (!m_backend.accessGranted()) {
        m_backend.requestAccess();
        fail(CaptureError::permissionDenied());
        return false;
    }
    return true;
}

void CaptureCoordinator::startOverlay(CaptureSession::Mode mode)
{
    if (mayStart())
        freezeThen([this, mode](const QList<DisplayShot>& shots) { openSession(mode, shots); });
}

void CaptureCoordinator::captureFullScreen()
{
    if (mayStart())
        freezeThen([this](const QList<DisplayShot>& shots) { deliverDisplayUnderPointer(shots); });
}

void CaptureCoordinator::freezeThen(std::function<void(const QList<DisplayShot>&)> continuation)
{
    m_busy = true;
    // The watcher is our child: if the coordinator goes away first, the continuation never runs.
    auto* watcher = new QFutureWatcher<DisplayCapture>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, continuation = std::move(continuation)] {
        watcher->deleteLater();
        const QFuture<DisplayCapture> future = watcher->future();
        const DisplayCapture outcome = future.resultCount() > 0
            ? future.result()
            : DisplayCapture(CaptureError::failed(tr("화면을 캡처하는 작업이 중단되었습니다.")));
        m_busy = false;
        if (const CaptureError* error = std::get_if<CaptureError>(&outcome))
            fail(*error);
        else if (std::get<QList<DisplayShot>>(outcome).isEmpty())
            fail(CaptureError::noDisplay()); // a session without overlays could never end
        else
            continuation(std::get<QList<DisplayShot>>(outcome));
    });
    watcher->setFuture(m_backend.captureDisplays());
}

void CaptureCoordinator::openSession(CaptureSession::Mode mode, const QList<DisplayShot>& shots)
{
    // The window list is taken after freezing, so it describes what the frozen images show.
    QPointer<CaptureCoordinator> self(this);
    auto completion = [self](std::optional<CaptureResult> result) {
        if (!self)
            return;
        // Cleared before the callback runs, so that the callback may start the next capture.
        if (self->m_session)
            self->m_session->deleteLater();
        self->m_session = nullptr;
        if (result)
            Q_EMIT self->captured(*result);
        if (self)
            Q_EMIT self->captureEnded(result.has_value());
    };
    CaptureBackend* backend = &m_backend;
    m_session = new CaptureSession(mode, shots, m_backend.windowsFrontToBack(), completion,
                                   [backend] { return backend->pointerLocation(); }, this);
    m_session->start();
}

void CaptureCoordinator::deliverDisplayUnderPointer(const QList<DisplayShot>& shots)
{
    const std::optional<Point> pointer = m_backend.pointerLocation();
    const DisplayShot* chosen = &shots.first();
    for (const DisplayShot& shot : shots) {
        if (pointer && shot.globalFrame.contains(*pointer)) {
            chosen = &shot;
            break;
        }
    }
    const Size frame(chosen->globalFrame.width, chosen->globalFrame.height);
    const std::optional<QImage> image = CaptureGeometry::crop(chosen->image, Rect(Point(), frame), frame);
    if (!image) {
        fail(CaptureError::noDisplay());
        return;
    }
    Q_EMIT captured(CaptureResult{*image, chosen->scale()});
    Q_EMIT captureEnded(true);
}

void CaptureCoordinator::fail(const CaptureError& error)
{
    Q_EMIT failed(error);
    Q_EMIT captureEnded(false);
}

} // namespace lumivex
