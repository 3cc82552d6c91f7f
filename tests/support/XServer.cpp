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

// Reads one line from a pipe, giving up at the deadline or at the end of the stream.
std::optional<QByteArray> readLine(int fd, int timeoutMs)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    QByteArray line;
    while (!line.contains('\n')) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            return std::nullopt;
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, int(left)) <= 0)
            continue;
        char buffer[256];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0)
            return std::nullopt;
        line.append(buffer, n);
    }
    return line.left(line.indexOf('\n'));
}

int openLog(const QString& path)
{
    return ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
}

xcb_atom_t internAtom(xcb_connection_t* c, const char* name)
{
    xcb_intern_atom_reply_t* reply
        = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return atom;
}

QByteArray propertyBytes(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property, xcb_atom_t type)
{
    xcb_get_property_reply_t* reply
        = xcb_get_property_reply(c, xcb_get_property(c, 0, window, property, type, 0, 1 << 20), nullptr);
    QByteArray bytes;
    if (reply && reply->format != 0)
        bytes = QByteArray(static_cast<const char*>(xcb_get_property_value(reply)),
                           xcb_get_property_value_length(reply));
    free(reply);
    return bytes;
}

std::optional<uint32_t> cardinalProperty(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property)
{
    const QByteArray bytes = propertyBytes(c, window, property, XCB_ATOM_CARDINAL);
    if (bytes.size() < 4)
        return std::nullopt;
    uint32_t value = 0;
    memcpy(&value, bytes.constData(), 4);
    return value;
}

QList<xcb_window_t> childrenOf(xcb_connection_t* c, xcb_window_t window)
{
    QList<xcb_window_t> result;
    xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, window), nullptr);
    if (!tree)
        return result;
    const xcb_window_t* children = xcb_query_tree_children(tree);
    for (int i = 0; i < xcb_query_tree_children_length(tree); ++i)
        result.append(children[i]);
    free(tree);
    return result;
}

// A minimal openbox configuration: one desktop, no margins, no key bindings (the keys belong to the
// application under test), click to focus and raise, no animations that would delay a state change.
// Clicks are bound in the client context only: a plain press bound on the frame is grabbed by openbox over the
// whole window and never reaches the application.
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

XServer::XServer(Options options)
    : m_options(options)
{
    if (!m_directory.isValid()) {
        m_error = QStringLiteral("cannot create a temporary folder");
        return;
    }
    if (!startServer())
        return;
    if (m_options.windowManager && !startWindowManager()) {
        xcb_disconnect(m_connection);
        m_connection = nullptr;
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
    if (::pipe2(pipe, O_CLOEXEC) != 0) {
        m_error = QStringLiteral("cannot create a pipe");
        return false;
    }
    QStringList arguments{QStringLiteral("-displayfd"), QString::number(pipe[1]),
                          QStringLiteral("-screen"), QStringLiteral("0"),
                          QStringLiteral("%1x%2x24").arg(m_options.width).arg(m_options.height),
                          QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                          // Without -noreset the server forgets its monitors whenever the last client leaves.
                          QStringLiteral("-noreset")};
    if (!m_options.sharedMemory)
        arguments << QStringLiteral("-extension") << QStringLiteral("MIT-SHM");
    const int log = openLog(m_directory.filePath(QStringLiteral("xvfb.log")));
    const bool started = m_server.start({QStringLiteral("Xvfb"), arguments, {}, log, log, pipe[1]});
    ::close(pipe[1]);
    if (log >= 0)
        ::close(log);
    const std::optional<QByteArray> number = started ? readLine(pipe[0], 20000) : std::nullopt;
    ::close(pipe[0]);
    if (!number || number->trimmed().isEmpty()) {
        m_error = started ? QStringLiteral("Xvfb did not report a display number") : QStringLiteral("cannot start Xvfb");
        m_server.stop();
        return false;
    }
    m_display = QLatin1Char(':') + QString::fromLatin1(number->trimmed());
    m_connection = xcb_connect(m_display.toLatin1().constData(), nullptr);
    if (xcb_connection_has_error(m_connection)) {
        xcb_disconnect(m_connection);
        m_connection = nullptr;
        m_error = QStringLiteral("cannot connect to Xvfb on ") + m_display;
        m_server.stop();
        return false;
    }
    return true;
}

bool XServer::startWindowManager()
{
    const QString configuration = m_directory.filePath(QStringLiteral("openbox.xml"));
    QFile file(configuration);
    if (!file.open(QIODevice::WriteOnly) || file.write(openboxConfiguration) < 0) {
        m_error = QStringLiteral("cannot write the openbox configuration");
        return false;
    }
    file.close();
    const int log = openLog(m_directory.filePath(QStringLiteral("openbox.log")));
    const bool started = m_windowManager.start(
        {QStringLiteral("openbox"),
         {QStringLiteral("--sm-disable"), QStringLiteral("--config-file"), configuration},
         environmentList({QStringLiteral("XDG_CONFIG_HOME=") + m_directory.path()}), log, log, -1});
    if (log >= 0)
        ::close(log);
    if (!started || !waitUntil([this] { return windowManagerReady(); }, 20000)) {
        m_error = QStringLiteral("openbox did not start on ") + m_display;
        m_windowManager.stop();
        return false;
    }
    return true;
}

bool XServer::windowManagerReady() const
{
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
    const QByteArray check = propertyBytes(m_connection, screen->root,
                                           internAtom(m_connection, "_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW);
    if (check.size() < 4)
        return false;
    // openbox announces itself before its event loop runs and drops map requests that arrive in between, so
    // it is ready only once it has really managed (mapped) a probe window.
    const xcb_window_t probe = xcb_generate_id(m_connection);
    xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, probe, screen->root, 0, 0, 16, 16, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
    xcb_map_window(m_connection, probe);
    const auto deadline = Clock::now() + std::chrono::milliseconds(500);
    bool managed = false;
    while (!managed && Clock::now() < deadline) {
        QThread::msleep(5);
        managed = isViewable(probe);
    }
    xcb_destroy_window(m_connection, probe);
    sync();
    return managed;
}

QProcessEnvironment XServer::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), m_display);
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("XDG_SESSION_TYPE"), QStringLiteral("x11"));
    return environment;
}

QStringList XServer::environmentList(const QStringList& changes) const
{
    return environmentWith(QStringList{QStringLiteral("DISPLAY=") + m_display, QStringLiteral("WAYLAND_DISPLAY"),
                                       QStringLiteral("QT_QPA_PLATFORM=xcb"), QStringLiteral("XDG_SESSION_TYPE=x11")}
                           + changes);
}

ChildProcess::Result XServer::run(const QString& program, const QStringList& arguments, int timeoutMs) const
{
    return ChildProcess::run(program, arguments, environmentList(), timeoutMs);
}

ChildProcess::Result XServer::xdotool(const QStringList& arguments) const
{
    return run(QStringLiteral("xdotool"), arguments);
}

ChildProcess::Result XServer::xrandr(const QStringList& arguments) const
{
    return run(QStringLiteral("xrandr"), arguments);
}

ChildProcess::Result XServer::xclip(const QStringList& arguments) const
{
    return run(QStringLiteral("xclip"), arguments);
}

bool XServer::setMonitors(const QList<QRect>& monitors)
{
    if (!isRunning() || monitors.isEmpty())
        return false;
    for (qsizetype i = 0; i < monitors.size(); ++i) {
        const QRect& m = monitors.at(i);
        // Physical sizes of a 96-dpi screen, so that toolkits see a normal density.
        const QString geometry = QStringLiteral("%1/%2x%3/%4+%5+%6")
                                     .arg(m.width())
                                     .arg(qRound(m.width() * 25.4 / 96))
                                     .arg(m.height())
                                     .arg(qRound(m.height() * 25.4 / 96))
                                     .arg(m.x())
                                     .arg(m.y());
        const QString output = i == 0 ? QStringLiteral("screen") : QStringLiteral("none");
        if (!xrandr({QStringLiteral("--setmonitor"), QStringLiteral("m%1").arg(i), geometry, output}).ok())
            return false;
    }
    return true;
}

uint32_t XServer::createWindow(const TestWindowSpec& spec)
{
    if (!isRunning())
        return 0;
    const QRect& g = spec.geometry;
    QStringList arguments{QStringLiteral("--geometry"),
                          QStringLiteral("%1x%2+%3+%4").arg(g.width()).arg(g.height()).arg(g.x()).arg(g.y()),
                          QStringLiteral("--color"), spec.color.name().mid(1),
                          QStringLiteral("--class"), spec.instanceName + QLatin1Char(',') + spec.className,
                          QStringLiteral("--type"), spec.type};
    if (spec.netTitle)
        arguments << QStringLiteral("--net-name") << *spec.netTitle;
    if (spec.legacyTitle)
        arguments << QStringLiteral("--wm-name") << *spec.legacyTitle;
    if (spec.opacity)
        arguments << QStringLiteral("--opacity") << QString::number(*spec.opacity, 'g', 10);
    if (spec.decorated)
        arguments << QStringLiteral("--decorated");
    if (spec.pid)
        arguments << QStringLiteral("--pid") << QString::number(*spec.pid);
    if (spec.overrideRedirect)
        arguments << QStringLiteral("--override-redirect");

    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0)
        return 0;
    auto process = std::make_unique<ChildProcess>();
    const bool started = process->start(
        {QStringLiteral(LUMIVEX_TEST_WINDOW_EXECUTABLE), arguments, environmentList(), pipe[1], -1, -1});
    ::close(pipe[1]);
    const std::optional<QByteArray> line = started ? readLine(pipe[0], 20000) : std::nullopt;
    ::close(pipe[0]);
    bool ok = false;
    const uint32_t window = line ? line->trimmed().toUInt(&ok) : 0;
    if (!ok || window == 0)
        return 0;
    m_windows[window] = std::move(process);
    const bool managed = m_options.windowManager && !spec.overrideRedirect;
    waitUntil([&] { return isViewable(window) && (!managed || isManaged(window)); });
    return window;
}

void XServer::destroyWindow(uint32_t window)
{
    // Window ids are reused by later clients: wait until the window manager has forgotten this one too, so that
    // a new window with the same id is never mistaken for it.
    if (m_windows.erase(window))
        waitUntil([&] { return !isViewable(window) && !isManaged(window); });
}

std::optional<qint64> XServer::processOfWindow(uint32_t window) const
{
    const auto it = m_windows.find(window);
    if (it == m_windows.end())
        return std::nullopt;
    return it->second->pid();
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

QImage XServer::grab() const { return grab(QRect(QPoint(0, 0), size())); }

QImage XServer::grab(const QRect& area) const
{
    if (!isRunning() || area.isEmpty())
        return {};
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    xcb_get_image_reply_t* reply = xcb_get_image_reply(
        m_connection,
        xcb_get_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, root, int16_t(area.x()), int16_t(area.y()),
                      uint16_t(area.width()), uint16_t(area.height()), ~0u),
        nullptr);
    if (!reply)
        return {};
    QImage image;
    const qsizetype rowBytes = qsizetype(area.width()) * 4;
    if (reply->depth == 24 && xcb_get_image_data_length(reply) >= rowBytes * area.height()) {
        image = QImage(area.size(), QImage::Format_RGB32);
        const uint8_t* data = xcb_get_image_data(reply);
        for (int y = 0; y < area.height(); ++y) {
            const auto* from = reinterpret_cast<const uint32_t*>(data + y * rowBytes);
            auto* to = reinterpret_cast<uint32_t*>(image.scanLine(y));
            for (int x = 0; x < area.width(); ++x)
                to[x] = from[x] | 0xff000000u;
        }
    }
    free(reply);
    return image;
}

QRect XServer::geometryOf(uint32_t window) const
{
    if (!isRunning())
        return {};
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    xcb_get_geometry_reply_t* geometry
        = xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, window), nullptr);
    xcb_translate_coordinates_reply_t* origin = xcb_translate_coordinates_reply(
        m_connection, xcb_translate_coordinates(m_connection, window, root, 0, 0), nullptr);
    QRect result;
    if (geometry && origin)
        result = QRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height);
    free(geometry);
    free(origin);
    return result;
}

bool XServer::isViewable(uint32_t window) const
{
    if (!isRunning())
        return false;
    xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(
        m_connection, xcb_get_window_attributes(m_connection, window), nullptr);
    const bool viewable = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
    free(attributes);
    return viewable;
}

QList<uint32_t> XServer::viewableWindowsOf(qint64 pid) const
{
    QList<uint32_t> result;
    if (!isRunning())
        return result;
    const xcb_atom_t pidAtom = internAtom(m_connection, "_NET_WM_PID");
    const std::function<void(xcb_window_t, int)> visit = [&](xcb_window_t parent, int depth) {
        for (xcb_window_t child : childrenOf(m_connection, parent)) {
            if (!isViewable(child))
                continue;
            if (cardinalProperty(m_connection, child, pidAtom) == std::optional<uint32_t>(uint32_t(pid)))
                result.append(child);
            else if (depth < 3)
                visit(child, depth + 1);
        }
    };
    visit(xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root, 1);
    return result;
}

bool XServer::isManaged(uint32_t window) const
{
    if (!isRunning())
        return false;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    const QByteArray clients
        = propertyBytes(m_connection, root, internAtom(m_connection, "_NET_CLIENT_LIST"), XCB_ATOM_WINDOW);
    for (qsizetype i = 0; i + 4 <= clients.size(); i += 4) {
        uint32_t client = 0;
        memcpy(&client, clients.constData() + i, 4);
        if (client == window)
            return true;
    }
    return false;
}

QString XServer::titleOf(uint32_t window) const
{
    if (!isRunning())
        return {};
    const QByteArray net = propertyBytes(m_connection, window, internAtom(m_connection, "_NET_WM_NAME"),
                                         internAtom(m_connection, "UTF8_STRING"));
    if (!net.isEmpty())
        return QString::fromUtf8(net);
    return QString::fromLatin1(propertyBytes(m_connection, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING));
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
