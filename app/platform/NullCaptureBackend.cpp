#include "app/platform/NullCaptureBackend.h"

#include <QFuture>

namespace lumivex {

QFuture<DisplayCapture> NullCaptureBackend::captureDisplays()
{
    return QtFuture::makeReadyFuture(DisplayCapture(CaptureError::noDisplay()));
}

} // namespace lumivex
