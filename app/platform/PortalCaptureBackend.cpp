#include "app/platform/PortalCaptureBackend.h"

#include <QCoreApplication>

namespace lumivex {

QFuture<DisplayCapture> PortalCaptureBackend::captureDisplays()
{
    return QtFuture::makeReadyFuture<DisplayCapture>(CaptureError::failed(QCoreApplication::translate(
        "PortalCaptureBackend", "Wayland 세션의 화면 캡처는 아직 지원하지 않습니다. X11 세션에서 실행해 주세요.")));
}

} // namespace lumivex
