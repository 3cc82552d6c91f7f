#include "app/platform/HotKeyBackend.h"

#include "app/platform/NullHotKeyBackend.h"
#include "app/platform/PortalHotKeyBackend.h"
#include "app/platform/X11HotKeyBackend.h"

namespace lumivex {

std::unique_ptr<HotKeyBackend> HotKeyBackend::create(PlatformKind kind)
{
    switch (kind) {
    case PlatformKind::x11:
        return X11HotKeyBackend::create();
    case PlatformKind::wayland:
        return std::make_unique<PortalHotKeyBackend>();
    case PlatformKind::null:
        break;
    }
    return std::make_unique<NullHotKeyBackend>();
}

} // namespace lumivex
