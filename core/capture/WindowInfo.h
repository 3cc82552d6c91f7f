#pragma once

#include "core/geometry/Rect.h"

#include <QString>

#include <cstdint>

namespace lumivex {

// One window that a capture can pick: the window server's id, its bounds in top-left global space (points,
// y downwards), the owning application's name and the window's title (both "" when unknown).
struct WindowInfo {
    uint32_t id = 0;
    Rect frame;
    QString ownerName;
    QString title;

    bool operator==(const WindowInfo& other) const
    {
        return id == other.id && frame == other.frame && ownerName == other.ownerName && title == other.title;
    }
};

} // namespace lumivex
