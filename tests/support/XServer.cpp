#include "XServer.h"

#include <QFile>
#include <QThread>

#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace lumivex::test {

namespace {

using Clock = std::chrono::steady_clock;

// The first line from a pipe's read end (closed afterwards); nothing after 20 s or at the end of the stream.
std::optional<QByteArray> readLine(int fd, bool started = true)
{
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    QByteArray line;
    while (started && !line.contains('\n') && Clock::now() < deadline) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0)
            continue;
        char buffer[256];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        line.append(buffer, n);
    }
    ::close(fd);
    if (!line.contains('\n'))
        return std::nullopt;
    return line.left(line.indexOf('\n')).trimmed();
}

xcb_window_t rootOf(xcb_connection_t* c) { return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root; }

xcb_atom_t internAtom(xcb_connection_t* c, const char* name)
{
    xcb_intern_atom_reply_t* reply
        = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return atom;
}

QByteArray propertyBytes(xcb_connection_t* c, xcb_window_t window, const char* property, xcb_atom_t type)
{
    const xcb_atom_t atom = internAtom(c, property);
    xcb_get_property_reply_t* reply
        = xcb_get_property_reply(c, xcb_get_property(c, 0, window, atom, type, 0, 1 << 20), nullptr);
    QByteArray bytes;
    if (reply && reply->format != 0)
        bytes = QByteArray(static_cast<const char*>(xcb_get_property_value(reply)), xcb_get_property_value_length(reply));
    free(reply);
    return bytes;
}

// A list of 32-bit values (window ids, cardinals).
QList<uint32_t> values(const QByteArray& bytes)
{
    QList<uint32_t> result(bytes.size() / 4);
    memcpy(result.data(), bytes.constData(), result.size() * 4);
    return result;
}

// One desktop, no margins, no key bindings (the keys belong to the application under test), click to focus and
// raise, no animations. Clicks are bound in the client context only: a press bound on the frame is grabbed by
// openbox over the whole window and never reaches the application.
const char* const openboxConfiguration = R"(<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <resistance><strength>0</strength><screen_edge_strength>0</screen_edge_strength></resistance>
  <focus><focusNew>yes</focusNew><followMouse>no</followMouse></focus>
  <placement><policy>Smart</policy></placement>
  <theme><name>Clearlooks</name><animateIconify>no</animateIconify></theme>
  <desktops><number>1</number></desktops>
  <margins><top>0</top><bottom>0</bottom><left>0</left><right>0</right></margins>
  <keyboard></keyboard>
  <mouse>
    <dragThreshold>1</dragThreshold>
    <context name="Client">
      <mousebind button="Left" action="Press"><action name="Focus"/><action name="Raise"/></mousebind>
    </context>
    <context name="Titlebar">
      <mousebind button="Left" action="Drag"><action name="Move"/></mousebind>
    </context>
  </mouse>
</openbox_config>
)";

} // namespace

XServer::XServer() : XServer(Options{}) {}

XServer::XServer(Options options) : m_options(options)
{
    if (!startServer() || (m_options.windowManager && !startWindowManager())) {
        if (m_connection)
            xcb_disconnect(m_connection);
        m_connection = nullptr;
        m_windowManager.stop();
        m_server.stop();
    }
}

XServer::~XServer()
{
    m_windows.clear();
    if (m_connection)
        xcb_disconnect(m_connection);
    m_windowManager.stop();
    m_server.stop();
}

bool XServer::startServer()
{
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0)
        return false;
    QStringList arguments{QStringLiteral("-displayfd"), QString::number(pipe[1]), QStringLiteral("-screen"),
                          QStringLiteral("0"), QStringLiteral("%1x%2x24").arg(m_options.width).arg(m_options.height),
                          QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                          // Without -noreset the server forgets its monitors whenever the last client leaves.
                          QStringLiteral("-noreset")};
    if (!m_options.sharedMemory)
        arguments << QStringLiteral("-extension") << QStringLiteral("MIT-SHM");
    const bool started = m_server.start({QStringLiteral("Xvfb"), arguments, {}, -1, -1, pipe[1]});
    ::close(pipe[1]);
    const std::optional<QByteArray> number = readLine(pipe[0], started);
    if (!number || number->isEmpty()) {
        m_error = QStringLiteral("Xvfb did not report a display number");
        return false;
    }
    m_display = QLatin1Char(':') + QString::fromLatin1(*number);
    m_connection = xcb_connect(m_display.toLatin1().constData(), nullptr);
    if (xcb_connection_has_error(m_connection)) {
        m_error = QStringLiteral("cannot connect to Xvfb on ") + m_display;
        return false;
    }
    return true;
}

bool XServer::startWindowManager()
{
    const QString configuration = m_directory.filePath(QStringLiteral("openbox.xml"));
    QFile file(configuration);
    const bool written = file.open(QIODevice::WriteOnly) && file.write(openboxConfiguration) > 0;
    file.close();
    if (!written || !m_windowManager.start({QStringLiteral("openbox"),
                                            {QStringLiteral("--sm-disable"), QStringLiteral("--config-file"), configuration},
                                            environmentList({QStringLiteral("XDG_CONFIG_HOME=") + m_directory.path()})})
        || !waitUntil([this] { return windowManagerReady(); }, 20000)) {
        m_error = QStringLiteral("openbox did not start on ") + m_display;
        return false;
    }
    return true;
}

bool XServer::windowManagerReady() const
{
    if (propertyBytes(m_connection, rootOf(m_connection), "_NET_SUPPORTING_WM_CHECK", XCB_ATOM_WINDOW).isEmpty())
        return false;
    // openbox announces itself before its event loop runs and drops map requests that arrive in between, so
    // it is ready only once it has really managed (mapped) a probe window.
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
    const xcb_window_t probe = xcb_generate_id(m_connection);
    xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, probe, screen->root, 0, 0, 16, 16, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
    xcb_map_window(m_connection, probe);
    const bool managed = waitUntil([&] { return isViewable(probe); }, 500);
    xcb_destroy_window(m_connection, probe);
    sync();
    return managed;
}

QStringList XServer::environmentList(const QStringList& changes) const
{
    // No session bus unless a test brings its own: a Lumivex started here must never hand its request to an
    // instance running on another display.
    return environmentWith(QStringList{QStringLiteral("DISPLAY=") + m_display, QStringLiteral("WAYLAND_DISPLAY"),
                                       QStringLiteral("QT_QPA_PLATFORM=xcb"), QStringLiteral("XDG_SESSION_TYPE=x11"),
                                       QStringLiteral("DBUS_SESSION_BUS_ADDRESS")}
                           + changes);
}

ChildProcess::Result XServer::xdotool(const QStringList& arguments) const
{
    return ChildProcess::run(QStringLiteral("xdotool"), arguments, environmentList(), 20000);
}

bool XServer::setMonitors(const QList<QRect>& monitors)
{
    for (qsizetype i = 0; i < monitors.size(); ++i) {
        const QRect& m = monitors.at(i);
        // Physical sizes of a 96-dpi screen.
        const QString geometry = QStringLiteral("%1/%2x%3/%4+%5+%6")
                                     .arg(m.width())
                                     .arg(qRound(m.width() * 25.4 / 96))
                                     .arg(m.height())
                                     .arg(qRound(m.height() * 25.4 / 96))
                                     .arg(m.x())
                                     .arg(m.y());
        const QStringList arguments{QStringLiteral("--setmonitor"), QStringLiteral("m%1").arg(i), geometry,
                                    i == 0 ? QStringLiteral("screen") : QStringLiteral("none")};
        if (!ChildProcess::run(QStringLiteral("xrandr"), arguments, environmentList(), 20000).ok())
            return false;
    }
    return true;
}

uint32_t XServer::createWindow(const TestWindowOptions& options)
{
    const QRect& g = options.geometry;
    QStringList arguments{QStringLiteral("--geometry"),
                          QStringLiteral("%1x%2+%3+%4").arg(g.width()).arg(g.height()).arg(g.x()).arg(g.y()),
                          QStringLiteral("--color"), options.color.name().mid(1),
                          QStringLiteral("--class"), options.className,
                          QStringLiteral("--type"), options.type};
    if (options.netTitle)
        arguments << QStringLiteral("--net-name") << *options.netTitle;
    if (options.legacyTitle)
        arguments << QStringLiteral("--wm-name") << *options.legacyTitle;
    if (options.opacity)
        arguments << QStringLiteral("--opacity") << QString::number(*options.opacity, 'g', 10);
    if (options.decorated)
        arguments << QStringLiteral("--decorated");
    if (options.pid)
        arguments << QStringLiteral("--pid") << QString::number(*options.pid);
    if (options.overrideRedirect)
        arguments << QStringLiteral("--override-redirect");
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0)
        return 0;
    auto process = std::make_unique<ChildProcess>();
    const bool started = process->start(
        {QStringLiteral(LUMIVEX_TEST_WINDOW_EXECUTABLE), arguments, environmentList(), pipe[1], -1, -1});
    ::close(pipe[1]);
    // The helper prints the window id once the window is mapped and painted.
    const uint32_t window = readLine(pipe[0], started).value_or(QByteArray()).toUInt();
    if (window == 0)
        return 0;
    m_windows[window] = std::move(process);
    const bool managed = m_options.windowManager && !options.overrideRedirect;
    waitUntil([&] { return isViewable(window) && (!managed || isManaged(window)); });
    return window;
}

void XServer::destroyWindow(uint32_t window)
{
    // Window ids are reused: wait until the window manager has forgotten this one too, so that a new window with
    // the same id is never mistaken for it.
    if (m_windows.erase(window))
        waitUntil([&] { return !isViewable(window) && !isManaged(window); });
}

int XServer::differingPixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return -1;
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += (a.pixel(x, y) & 0xffffffu) != (b.pixel(x, y) & 0xffffffu);
    return count;
}

QImage XServer::grab(QRect area) const
{
    if (area.isNull())
        area = QRect(0, 0, m_options.width, m_options.height);
    xcb_get_image_reply_t* reply = xcb_get_image_reply(
        m_connection,
        xcb_get_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, rootOf(m_connection), int16_t(area.x()),
                      int16_t(area.y()), uint16_t(area.width()), uint16_t(area.height()), ~0u),
        nullptr);
    QImage image;
    if (reply && reply->depth == 24 && xcb_get_image_data_length(reply) >= area.width() * area.height() * 4) {
        image = QImage(area.size(), QImage::Format_RGB32);
        const auto* from = reinterpret_cast<const uint32_t*>(xcb_get_image_data(reply));
        for (int y = 0; y < area.height(); ++y)
            for (int x = 0; x < area.width(); ++x)
                image.setPixel(x, y, *from++ | 0xff000000u); // the server leaves the top byte undefined
    }
    free(reply);
    return image;
}

QRect XServer::geometryOf(uint32_t window) const
{
    xcb_get_geometry_reply_t* geometry
        = xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, window), nullptr);
    xcb_translate_coordinates_reply_t* origin = xcb_translate_coordinates_reply(
        m_connection, xcb_translate_coordinates(m_connection, window, rootOf(m_connection), 0, 0), nullptr);
    QRect result;
    if (geometry && origin)
        result = QRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height);
    free(geometry);
    free(origin);
    return result;
}

bool XServer::isViewable(uint32_t window) const
{
    xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(
        m_connection, xcb_get_window_attributes(m_connection, window), nullptr);
    const bool viewable = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
    free(attributes);
    return viewable;
}

bool XServer::isManaged(uint32_t window) const
{
    return values(propertyBytes(m_connection, rootOf(m_connection), "_NET_CLIENT_LIST", XCB_ATOM_WINDOW))
        .contains(window);
}

QList<uint32_t> XServer::viewableWindowsOf(qint64 pid) const
{
    QList<uint32_t> result;
    const std::function<void(xcb_window_t, int)> visit = [&](xcb_window_t parent, int depth) {
        xcb_query_tree_reply_t* tree = xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, parent), nullptr);
        if (!tree)
            return;
        const xcb_window_t* first = xcb_query_tree_children(tree);
        const QList<xcb_window_t> children(first, first + xcb_query_tree_children_length(tree));
        free(tree);
        for (xcb_window_t child : children) {
            if (!isViewable(child))
                continue;
            if (values(propertyBytes(m_connection, child, "_NET_WM_PID", XCB_ATOM_CARDINAL)) == QList<uint32_t>{uint32_t(pid)})
                result.append(child);
            else if (depth < 3)
                visit(child, depth + 1);
        }
    };
    visit(rootOf(m_connection), 1);
    return result;
}

QString XServer::titleOf(uint32_t window) const
{
    const QByteArray net
        = propertyBytes(m_connection, window, "_NET_WM_NAME", internAtom(m_connection, "UTF8_STRING"));
    return net.isEmpty() ? QString::fromLatin1(propertyBytes(m_connection, window, "WM_NAME", XCB_ATOM_STRING))
                         : QString::fromUtf8(net);
}

bool XServer::waitUntil(const std::function<bool()>& condition, int timeoutMs) const
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        sync();
        if (condition())
            return true;
        if (Clock::now() >= deadline)
            return false;
        QThread::msleep(10);
    }
}

void XServer::sync() const
{
    if (m_connection)
        free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
}

} // namespace lumivex::test
