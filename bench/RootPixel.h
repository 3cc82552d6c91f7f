#pragma once

#include "app/platform/X11Connection.h"

#include <cstdint>
#include <cstring>

namespace lumivex::bench {

// One pixel of the root window, to see an overlay's dimming arrive on the server.
inline uint32_t rootPixel(X11Connection& x, int px, int py)
{
    auto reply = xcbReply(xcb_get_image_reply(
        x.get(), xcb_get_image(x.get(), XCB_IMAGE_FORMAT_Z_PIXMAP, x.root(), int16_t(px), int16_t(py), 1, 1, ~0u),
        nullptr));
    uint32_t value = 0;
    if (reply && xcb_get_image_data_length(reply.get()) >= 4)
        std::memcpy(&value, xcb_get_image_data(reply.get()), 4);
    return value & 0xffffff;
}

} // namespace lumivex::bench
