#include "app/platform/X11WindowList.h"

#include "app/platform/X11Connection.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <vector>

namespace lumivex {

namespace {

constexpr double minimumSide = 40;
constexpr double invisibleOpacity = 0.01;

// The properties read for every window, in the order of the cookies below.
enum PropertyIndex { windowType, windowState, processId, opacity, frameExtents, netName, legacyName, wmClass, propertyCount };

struct Requests {
    xcb_window_t window;
    xcb_get_window_attributes_cookie_t attributes;
    xcb_get_geometry_cookie_t geometry;
    xcb_translate_coordinates_cookie_t origin;
    std::array<xcb_get_property_cookie_t, propertyCount> properties;
};

struct PropertyValue {
    xcb_atom_t type = XCB_ATOM_NONE;
    QByteArray bytes;
};

std::optional<PropertyValue> take(xcb_connection_t* c, xcb_get_property_cookie_t cookie)
{
    auto reply = xcbReply(xcb_get_property_reply(c, cookie, nullptr));
    if (!reply || reply->type == XCB_ATOM_NONE || reply->format == 0)
        return std::nullopt;
    return PropertyValue{reply->type, QByteArray(static_cast<const char*>(xcb_get_property_value(reply.get())),
                                                 xcb_get_property_value_length(reply.get()))};
}

std::vector<uint32_t> cardinals(const std::optional<PropertyValue>& value)
{
    std::vector<uint32_t> result;
    if (!value)
        return result;
    result.resize(size_t(value->bytes.size()) / 4);
    std::memcpy(result.data(), value->bytes.constData(), result.size() * 4);
    return result;
}

QString text(const std::optional<PropertyValue>& value, xcb_atom_t utf8)
{
    if (!value)
        return {};
    QByteArray bytes = value->bytes;
    while (bytes.endsWith('\0'))
        bytes.chop(1);
    return value->type == utf8 ? QString::fromUtf8(bytes) : QString::fromLatin1(bytes);
}

// WM_CLASS is "instance\0Class\0"; the class names the application.
QString ownerFromClass(const std::optional<PropertyValue>& value)
{
    if (!value)
        return {};
    const QList<QByteArray> parts = value->bytes.split('\0');
    if (parts.size() >= 2 && !parts.at(1).isEmpty())
        return QString::fromUtf8(parts.at(1));
    return parts.isEmpty() ? QString() : QString::fromUtf8(parts.at(0));
}

} // namespace

X11WindowList::X11WindowList(std::shared_ptr<X11Connection> connection, qint64 ownProcessId)
    : m_connection(std::move(connection))
    , m_ownProcessId(ownProcessId)
{
}

QList<WindowInfo> X11WindowList::frontToBack(const ToPoints& toPoints) const
{
    QList<WindowInfo> result;
    if (!m_connection || m_connection->isBroken())
        return result;
    X11Connection& x = *m_connection;
    xcb_connection_t* c = x.get();

    const std::optional<X11Connection::Property> stacking = x.property(x.root(), x.atom("_NET_CLIENT_LIST_STACKING"));
    if (!stacking || stacking->type != XCB_ATOM_WINDOW || stacking->format != 32)
        return result;
    std::vector<xcb_window_t> bottomToTop(size_t(stacking->bytes.size()) / 4);
    std::memcpy(bottomToTop.data(), stacking->bytes.constData(), bottomToTop.size() * 4);

    const std::array<xcb_atom_t, propertyCount> names{
        x.atom("_NET_WM_WINDOW_TYPE"), x.atom("_NET_WM_STATE"), x.atom("_NET_WM_PID"), x.atom("_NET_WM_WINDOW_OPACITY"),
        x.atom("_NET_FRAME_EXTENTS"), x.atom("_NET_WM_NAME"), XCB_ATOM_WM_NAME, XCB_ATOM_WM_CLASS};
    const xcb_atom_t utf8 = x.atom("UTF8_STRING");
    const xcb_atom_t hidden = x.atom("_NET_WM_STATE_HIDDEN");
    const std::array<xcb_atom_t, 3> pickableTypes{x.atom("_NET_WM_WINDOW_TYPE_NORMAL"),
                                                  x.atom("_NET_WM_WINDOW_TYPE_DIALOG"),
                                                  x.atom("_NET_WM_WINDOW_TYPE_UTILITY")};

    // Every request goes out before the first answer is read: one round trip for the whole list.
    std::vector<Requests> requests;
    requests.reserve(bottomToTop.size());
    for (auto it = bottomToTop.rbegin(); it != bottomToTop.rend(); ++it) {
        Requests r{*it, xcb_get_window_attributes(c, *it), xcb_get_geometry(c, *it),
                   xcb_translate_coordinates(c, *it, x.root(), 0, 0), {}};
        for (int i = 0; i < propertyCount; ++i)
            r.properties[size_t(i)] = xcb_get_property(c, 0, *it, names[size_t(i)], XCB_GET_PROPERTY_TYPE_ANY, 0, 4096);
        requests.push_back(r);
    }

    for (const Requests& r : requests) {
        auto attributes = xcbReply(xcb_get_window_attributes_reply(c, r.attributes, nullptr));
        auto geometry = xcbReply(xcb_get_geometry_reply(c, r.geometry, nullptr));
        auto origin = xcbReply(xcb_translate_coordinates_reply(c, r.origin, nullptr));
        std::array<std::optional<PropertyValue>, propertyCount> p;
        for (int i = 0; i < propertyCount; ++i)
            p[size_t(i)] = take(c, r.properties[size_t(i)]);
        if (!attributes || !geometry || !origin)
            continue;

        // Ordinary windows on screen only: docks, desktops, menus and notifications live on other layers.
        const std::vector<uint32_t> types = cardinals(p[windowType]);
        const bool pickableType = types.empty()
            || std::any_of(types.begin(), types.end(), [&](uint32_t type) {
                   return std::find(pickableTypes.begin(), pickableTypes.end(), type) != pickableTypes.end();
               });
        const std::vector<uint32_t> states = cardinals(p[windowState]);
        const bool isHidden = std::find(states.begin(), states.end(), hidden) != states.end();
        if (!pickableType || isHidden || attributes->map_state != XCB_MAP_STATE_VIEWABLE)
            continue;

        const std::vector<uint32_t> pid = cardinals(p[processId]);
        if (!pid.empty() && qint64(pid.front()) == m_ownProcessId)
            continue;

        const std::vector<uint32_t> alpha = cardinals(p[opacity]);
        if (!alpha.empty() && double(alpha.front()) / 0xffffffffu <= invisibleOpacity)
            continue;

        // The window as the user sees it: with the title bar and borders the window manager draws around it.
        QRect bounds(origin->dst_x, origin->dst_y, geometry->width, geometry->height);
        const std::vector<uint32_t> extents = cardinals(p[frameExtents]);
        if (extents.size() >= 4 && std::all_of(extents.begin(), extents.begin() + 4, [](uint32_t e) { return e < 4096; }))
            bounds.adjust(-int(extents[0]), -int(extents[2]), int(extents[1]), int(extents[3]));
        const Rect frame = toPoints(bounds);
        if (!(frame.width >= minimumSide) || !(frame.height >= minimumSide))
            continue;

        const QString title = p[netName] ? text(p[netName], utf8) : text(p[legacyName], utf8);
        result.append({r.window, frame, ownerFromClass(p[wmClass]), title});
    }
    return result;
}

} // namespace lumivex
