#pragma once

#include "core/capture/WindowInfo.h"

#include <QList>
#include <QRect>

#include <functional>
#include <memory>

namespace lumivex {

class X11Connection;

// The windows a capture can pick, front-most first, read from the window manager's stacking list
// (_NET_CLIENT_LIST_STACKING, reversed). A window is kept when it is an ordinary application window on screen:
// a normal, dialog or utility window (or one without a type) that is mapped and not hidden; not one of this
// process's own; more than 1 % opaque; and at least 40 × 40 points including its window manager frame.
class X11WindowList {
public:
    // Converts a rectangle in root pixels to top-left global space (points).
    using ToPoints = std::function<Rect(const QRect& rootPixels)>;

    X11WindowList(std::shared_ptr<X11Connection> connection, qint64 ownProcessId);

    // Never fails: without a usable stacking list the answer is empty, and a window whose description cannot
    // be read is left out on its own.
    QList<WindowInfo> frontToBack(const ToPoints& toPoints) const;

private:
    std::shared_ptr<X11Connection> m_connection;
    qint64 m_ownProcessId;
};

} // namespace lumivex
