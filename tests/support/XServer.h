#pragma once

#include "ChildProcess.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>

struct xcb_connection_t;

namespace lumivex::test {

// How a test client window looks to the window manager and to a window list.
struct TestWindowSpec {
    // Client area in root pixels. Undecorated windows land exactly here.
    QRect geometry{100, 100, 200, 150};
    QColor color{Qt::red};
    std::optional<QString> netTitle;    // _NET_WM_NAME (UTF-8)
    std::optional<QString> legacyTitle; // WM_NAME (Latin-1)
    QString instanceName = QStringLiteral("lumivex-test");
    QString className = QStringLiteral("LumivexTest"); // WM_CLASS
    std::optional<double> opacity;                   // _NET_WM_WINDOW_OPACITY, 0..1
    QString type = QStringLiteral("normal");         // _NET_WM_WINDOW_TYPE_<TYPE>
    bool decorated = false;                          // a window manager frame with a title bar
    std::optional<qint64> pid;                       // _NET_WM_PID to claim (default: the helper's own)
    bool overrideRedirect = false;
};

// A private X server for one test: Xvfb on a free display number with the openbox window manager, torn down
// (whole process groups) when the object goes away. Everything a test needs to drive it is here: the DISPLAY
// string and environment for child processes, xdotool/xrandr/xclip with that display, client windows of a
// known colour (each in its own process), monitors made with xrandr --setmonitor, and screenshots read
// straight from the server.
class XServer {
public:
    struct Options {
        int width = 1280;
        int height = 800;
        bool sharedMemory = true; // false starts Xvfb without the MIT-SHM extension
        bool windowManager = true;
    };

    XServer();
    explicit XServer(Options options);
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    bool isRunning() const { return m_connection != nullptr; }
    // Why the server did not come up (empty when it runs).
    QString errorString() const { return m_error; }
    QString display() const { return m_display; }
    QSize size() const { return {m_options.width, m_options.height}; }
    // The caller's environment pointed at this server: DISPLAY set, WAYLAND_DISPLAY removed, Qt on xcb.
    QProcessEnvironment environment() const;
    QStringList environmentList(const QStringList& changes = {}) const;
    xcb_connection_t* connection() const { return m_connection; }

    ChildProcess::Result run(const QString& program, const QStringList& arguments, int timeoutMs = 20000) const;
    ChildProcess::Result xdotool(const QStringList& arguments) const;
    ChildProcess::Result xrandr(const QStringList& arguments) const;
    ChildProcess::Result xclip(const QStringList& arguments) const;

    // Splits the screen into these monitors (RandR 1.5 monitors, named "m0", "m1", ...); the first one takes
    // over the screen's output so the automatic monitor covering everything disappears.
    bool setMonitors(const QList<QRect>& monitors);

    // Starts a client window in its own process and waits until it is mapped and painted; 0 on failure.
    uint32_t createWindow(const TestWindowSpec& spec);
    // Ends the window's process; the window disappears with its client.
    void destroyWindow(uint32_t window);
    std::optional<qint64> processOfWindow(uint32_t window) const;

    // How many pixels of two pictures of one size differ in colour (alpha and the X server's padding byte are
    // not compared); -1 when the sizes differ.
    static int differingPixels(const QImage& a, const QImage& b);

    // The screen's pixels as the server holds them now (Format_RGB32, opaque).
    QImage grab() const;
    QImage grab(const QRect& area) const;
    // What the screen shows of the window's rectangle (its client area, without the frame).
    QImage grabWindow(uint32_t window) const { return grab(geometryOf(window)); }
    // The window's rectangle in root coordinates (without its frame).
    QRect geometryOf(uint32_t window) const;
    bool isViewable(uint32_t window) const;
    // Whether the window manager lists the window among its clients (_NET_CLIENT_LIST).
    bool isManaged(uint32_t window) const;
    // Viewable windows whose _NET_WM_PID is the process: override-redirect windows on the root and the
    // clients inside window manager frames.
    QList<uint32_t> viewableWindowsOf(qint64 pid) const;
    QString titleOf(uint32_t window) const;

    // Polls the condition (with a round trip to the server between tries) until it holds or time runs out.
    bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 10000) const;
    // A round trip: every request sent before has been processed.
    void sync() const;

private:
    bool startServer();
    bool startWindowManager();
    bool windowManagerReady() const;

    Options m_options;
    QTemporaryDir m_directory;
    QString m_display;
    QString m_error;
    ChildProcess m_server;
    ChildProcess m_windowManager;
    xcb_connection_t* m_connection = nullptr;
    std::map<uint32_t, std::unique_ptr<ChildProcess>> m_windows;
};

} // namespace lumivex::test
