#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <mutex>
#include <optional>

namespace lumivex {

// An xcb reply, freed with the C allocator as xcb requires.
template <typename T>
using XcbReply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T>
XcbReply<T> xcbReply(T* reply)
{
    return XcbReply<T>(reply, &std::free);
}

// Our own connection to the X server, separate from Qt's: freezing runs on a worker thread, and the backends
// work without a Qt platform plugin on that server (tests drive a private Xvfb from an offscreen process).
// xcb connections are thread-safe; the atom cache is guarded.
class X11Connection {
public:
    // Connects to the named display ($DISPLAY when empty); nothing, with the reason, when that fails.
    static std::shared_ptr<X11Connection> open(const QByteArray& displayName, QString* error = nullptr);
    ~X11Connection();
    X11Connection(const X11Connection&) = delete;
    X11Connection& operator=(const X11Connection&) = delete;

    xcb_connection_t* get() const { return m_connection; }
    const xcb_screen_t& screen() const { return *m_screen; }
    xcb_window_t root() const { return m_screen->root; }
    bool isBroken() const { return xcb_connection_has_error(m_connection) != 0; }

    xcb_atom_t atom(const char* name);

    struct Property {
        xcb_atom_t type = XCB_ATOM_NONE;
        int format = 0;
        QByteArray bytes;
    };
    // Reads a whole property; nothing when the window has none (or is gone).
    std::optional<Property> property(xcb_window_t window, xcb_atom_t name);

private:
    X11Connection(xcb_connection_t* connection, const xcb_screen_t* screen)
        : m_connection(connection), m_screen(screen) {}

    xcb_connection_t* m_connection;
    const xcb_screen_t* m_screen;
    std::mutex m_atomsMutex;
    QHash<QByteArray, xcb_atom_t> m_atoms;
};

} // namespace lumivex
