#include "app/capture/CaptureCoordinator.h"

#include "app/capture/PointerProbe.h"
#include "app/platform/CaptureBackend.h"
#include "core/capture/CaptureGeometry.h"

#include <QFutureWatcher>

namespace lumivex {

namespace {

// How long a full-screen capture waits to hear where the pointer is before taking the first display. Only a
// desktop without a pointer waits this long; the answer usually comes as soon as the probe windows are mapped.
constexpr std::chrono::milliseconds pointerProbePatience{1000};

} // namespace

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
    if (!mayStart())
        return;
    if (mode == CaptureSession::Mode::window && m_backend.windowPicking() == WindowPicking::byDesktop)
        pickWithDesktop();
    else
        freezeThen([this, mode](const QList<DisplayShot>& shots) { openSession(mode, shots); });
}

void CaptureCoordinator::captureFullScreen()
{
    if (mayStart())
        freezeThen([this](const QList<DisplayShot>& shots) { deliverDisplayUnderPointer(shots); });
}

void CaptureCoordinator::freezeThen(std::function<void(const QList<DisplayShot>&)> continuation)
{
    // A session without overlays could never end.
    awaitShots(m_backend.captureDisplays(), std::move(continuation), [this] { fail(CaptureError::noDisplay()); });
}

void CaptureCoordinator::pickWithDesktop()
{
    awaitShots(m_backend.pickWithDesktop(), [this](const QList<DisplayShot>& shots) { deliverWholeDisplay(shots.first()); },
               [this] { Q_EMIT captureEnded(false); });
}

void CaptureCoordinator::awaitShots(QFuture<DisplayCapture> future,
                                    std::function<void(const QList<DisplayShot>&)> continuation,
                                    std::function<void()> none)
{
    m_busy = true;
    // The watcher is our child: if the coordinator goes away first, the continuation never runs.
    auto* watcher = new QFutureWatcher<DisplayCapture>(this);
    connect(watcher, &QFutureWatcherBase::finished, this,
            [this, watcher, continuation = std::move(continuation), none = std::move(none)] {
        watcher->deleteLater();
        const QFuture<DisplayCapture> future = watcher->future();
        const DisplayCapture outcome = future.resultCount() > 0
            ? future.result()
            : DisplayCapture(CaptureError::failed(tr("화면을 캡처하는 작업이 중단되었습니다.")));
        m_busy = false;
        if (const CaptureError* error = std::get_if<CaptureError>(&outcome))
            fail(*error);
        else if (std::get<QList<DisplayShot>>(outcome).isEmpty())
            none();
        else
            continuation(std::get<QList<DisplayShot>>(outcome));
    });
    watcher->setFuture(future);
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
    m_session->setDesktopPicker(m_backend.windowPicking(), [self] {
        if (!self)
            return;
        if (self->m_session)
            self->m_session->deleteLater();
        self->m_session = nullptr;
        self->pickWithDesktop();
    });
    m_session->start();
}

void CaptureCoordinator::deliverDisplayUnderPointer(const QList<DisplayShot>& shots)
{
    const std::optional<Point> pointer = m_backend.pointerLocation();
    if (pointer || shots.size() == 1) {
        deliverDisplayAt(shots, pointer);
        return;
    }
    // The platform does not tell (Wayland): windows of our own over the displays learn it.
    m_busy = true;
    PointerProbe::locate(shots, pointerProbePatience, this, [this, shots](std::optional<Point> found) {
        m_busy = false;
        deliverDisplayAt(shots, found);
    });
}

void CaptureCoordinator::deliverDisplayAt(const QList<DisplayShot>& shots, std::optional<Point> pointer)
{
    const DisplayShot* chosen = &shots.first();
    for (const DisplayShot& shot : shots) {
        if (pointer && shot.globalFrame.contains(*pointer)) {
            chosen = &shot;
            break;
        }
    }
    deliverWholeDisplay(*chosen);
}

void CaptureCoordinator::deliverWholeDisplay(const DisplayShot& shot)
{
    const Size frame(shot.globalFrame.width, shot.globalFrame.height);
    const std::optional<QImage> image = CaptureGeometry::crop(shot.image, Rect(Point(), frame), frame);
    if (!image) {
        fail(CaptureError::noDisplay());
        return;
    }
    Q_EMIT captured(CaptureResult{*image, shot.scale()});
    Q_EMIT captureEnded(true);
}

void CaptureCoordinator::fail(const CaptureError& error)
{
    Q_EMIT failed(error);
    Q_EMIT captureEnded(false);
}

} // namespace lumivex
