#include "app/platform/X11Connection.h"

#include <QCoreApplication>

#include <cstring>

namespace lumivex {

std::shared_ptr<X11Connection> X11Connection::open(const QByteArray& displayName, QString* error)
{
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(displayName.isEmpty() ? nullptr : displayName.constData(), &screenNumber);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        if (error)
            *error = QCoreApplication::translate("X11Connection", "X 서버(%1)에 연결하지 못했습니다.")
                         .arg(displayName.isEmpty() ? qEnvironmentVariable("DISPLAY") : QString::fromLocal8Bit(displayName));
        return nullptr;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i)
        xcb_screen_next(&screens);
    if (screens.rem == 0 || !screens.data) {
        xcb_disconnect(connection);
        if (error)
            *error = QCoreApplication::translate("X11Connection", "X 서버에 화면이 없습니다.");
        return nullptr;
    }
    return std::shared_ptr<X11Connection>(new X11Connection(connection, screens.data));
}

X11Connection::~X11Connection() { xcb_disconnect(m_connection); }

xcb_atom_t X11Connection::atom(const char* name)
{
    const QByteArray key(name);
    {
        std::lock_guard lock(m_atomsMutex);
        const auto it = m_atoms.constFind(key);
        if (it != m_atoms.constEnd())
            return *it;
    }
    auto reply = xcbReply(xcb_intern_atom_reply(
        m_connection, xcb_intern_atom(m_connection, 0, uint16_t(key.size()), key.constData()), nullptr));
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    if (atom != XCB_ATOM_NONE) {
        std::lock_guard lock(m_atomsMutex);
        m_atoms.insert(key, atom);
    }
    return atom;
}

std::optional<X11Connection::Property> X11Connection::property(xcb_window_t window, xcb_atom_t name)
{
    if (name == XCB_ATOM_NONE)
        return std::nullopt;
    // 1 MiB of 32-bit units is more than any property we read; longer values are cut, never misread.
    auto reply = xcbReply(xcb_get_property_reply(
        m_connection, xcb_get_property(m_connection, 0, window, name, XCB_GET_PROPERTY_TYPE_ANY, 0, 1 << 18),
        nullptr));
    if (!reply || reply->type == XCB_ATOM_NONE || reply->format == 0)
        return std::nullopt;
    const int length = xcb_get_property_value_length(reply.get());
    return Property{reply->type, reply->format,
                    QByteArray(static_cast<const char*>(xcb_get_property_value(reply.get())), length)};
}

} // namespace lumivex
