#include "CaptureFixture.h"

#include <QCoreApplication>
#include <QTest>

#include <chrono>

namespace lumivex::test {

uint32_t coordinateAt(int x, int y) { return 0xff000000u | (uint32_t(x) << 12) | uint32_t(y); }

QImage coordinateImage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<uint32_t*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = coordinateAt(x, y);
    }
    return image;
}

void CaptureFixture::SetUp()
{
    m_backend.setShots({DisplayShot{nullptr, QStringLiteral("left"), coordinateImage(1280, 800), Rect(0, 0, 640, 400)},
                        DisplayShot{nullptr, QStringLiteral("right"), coordinateImage(640, 400), Rect(640, 0, 640, 400)}});
    m_backend.setPointer(Point(100, 100));
    m_coordinator = std::make_unique<CaptureCoordinator>(m_backend);
    m_coordinator->setOnCaptured([this](const CaptureResult& result) { m_results.push_back(result); });
    m_coordinator->setFailureHandler([this](const CaptureError& error) { m_failures.push_back(error); });
    QObject::connect(m_coordinator.get(), &CaptureCoordinator::captureEnded,
                     [this](bool delivered) { m_ends.push_back(delivered); });
}

void CaptureFixture::TearDown()
{
    m_coordinator.reset();
    // Overlays are deleted later, from the event loop.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool CaptureFixture::waitFor(const std::function<bool()>& condition)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
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

void CaptureFixture::press(CaptureOverlayView* view, Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(view, key, modifiers);
}

} // namespace lumivex::test
