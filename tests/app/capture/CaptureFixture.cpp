#include "CaptureFixture.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTest>

namespace lumivex::test {

uint32_t coordinateAt(int x, int y) { return 0xff000000u | (uint32_t(x) << 12) | uint32_t(y); }

QImage coordinateImage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, coordinateAt(x, y));
    return image;
}

std::unique_ptr<X11CaptureBackend> x11Backend(const XServer& server, double scale, bool sharedMemory)
{
    X11CaptureBackend::Options options;
    options.displayName = server.display().toLatin1();
    options.screens = [scale](const X11ScreenGrabber::Monitor&) { return X11CaptureBackend::ScreenMatch{nullptr, scale}; };
    options.allowSharedMemory = sharedMemory;
    return std::make_unique<X11CaptureBackend>(options);
}

void CaptureFixture::SetUp()
{
    m_backend.setShots({DisplayShot{nullptr, QStringLiteral("left"), coordinateImage(1280, 800), Rect(0, 0, 640, 400)},
                        DisplayShot{nullptr, QStringLiteral("right"), coordinateImage(640, 400), Rect(640, 0, 640, 400)}});
    m_backend.setPointer(Point(100, 100));
    m_coordinator = std::make_unique<CaptureCoordinator>(m_backend);
    QObject::connect(m_coordinator.get(), &CaptureCoordinator::captured,
                     [this](const CaptureResult& result) { m_results.push_back(result); });
    QObject::connect(m_coordinator.get(), &CaptureCoordinator::failed,
                     [this](const CaptureError& error) { m_failures.push_back(error); });
    QObject::connect(m_coordinator.get(), &CaptureCoordinator::captureEnded,
                     [this](bool delivered) { m_ends.push_back(delivered); });
}

void CaptureFixture::TearDown()
{
    m_coordinator.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // overlays are deleted later
}

bool CaptureFixture::waitFor(const std::function<bool()>& condition)
{
    const QDeadlineTimer deadline(10000);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

CaptureSession* CaptureFixture::open(CaptureSession::Mode mode)
{
    m_coordinator->startOverlay(mode);
    if (!waitFor([this] { return m_coordinator->session() && !m_coordinator->session()->overlays().isEmpty(); }))
        return nullptr;
    return m_coordinator->session();
}

CaptureOverlayView* CaptureFixture::view(int index) const
{
    return m_coordinator->session()->overlays().at(index)->overlayView();
}

void CaptureFixture::drag(CaptureOverlayView* view, QPoint from, QPoint to)
{
    QTest::mousePress(view, Qt::LeftButton, {}, from);
    QTest::mouseMove(view, (from + to) / 2);
    QTest::mouseMove(view, to);
    QTest::mouseRelease(view, Qt::LeftButton, {}, to);
}

} // namespace lumivex::test
