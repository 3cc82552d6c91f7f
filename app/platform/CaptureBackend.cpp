#include "app/platform/CaptureBackend.h"

#include "app/platform/NullCaptureBackend.h"
#include "app/platform/PortalCaptureBackend.h"
#include "app/platform/X11CaptureBackend.h"

namespace lumivex {

std::unique_ptr<CaptureBackend> CaptureBackend::create(PlatformKind kind)
{
    switch (kind) {
    case PlatformKind::x11:
        return std::make_unique<X11CaptureBackend>(X11CaptureBackend::Options{});
    case PlatformKind::wayland:
        return std::make_unique<PortalCaptureBackend>();
    case PlatformKind::null:
        break;
    }
    return std::make_unique<NullCaptureBackend>();
}

} // namespace lumivex
