#pragma once

namespace lumivex {

// How the window of a window capture is picked: from our own window list, by the desktop's own interactive
// capture (Wayland desktops that offer one through the portal), or not at all.
enum class WindowPicking { fromList, byDesktop, unavailable };

} // namespace lumivex
