#include "TestCaptureBackend.h"

namespace lumivex::test {

QFuture<DisplayCapture> TestCaptureBackend::captureDisplays()
{
    ++m_captureCount;
    auto promise = std::make_shared<QPromise<DisplayCapture>>();
    QFuture<DisplayCapture> future = promise->future();
    promise->start();
    if (m_held) {
        m_pending.append(promise);
    } else {
        promise->addResult(m_result);
        promise->finish();
    }
    return future;
}

void TestCaptureBackend::release()
{
    m_held = false;
    const auto pending = std::exchange(m_pending, {});
    for (const auto& promise : pending) {
        promise->addResult(m_result);
        promise->finish();
    }
}

} // namespace lumivex::test
