#pragma once

#include "ChildProcess.h"

#include <QColor>
#include <QImage>
#include <QList>
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

// A client window of one colour, shown by lumivex_test_window in its own process.
struct TestWindowOptions {
    QRect geometry{100, 100, 200, 150}; // client area in root pixels
    QColor color{Qt::red};
    std::optional<QString> netTitle;    // _NET_WM_NAME (UTF-8)
    std::optional<QString> legacyTitle; // WM_NAME (Latin-1)
    QString className = QStringLiteral("LumivexTest");
    std::optional<double> opacity;           // _NET_WM_WINDOW_OPACITY, 0..1
    QString type = QStringLiteral("normal"); // _NET_WM_WINDOW_TYPE_<TYPE>
    bool decorated = false;                  // with a window manager frame and title bar
    std::optional<qint64> pid;               // _NET_WM_PID to claim (default: the helper's own)
    bool overrideRedirect = false;
};

// A private Xvfb (on a free display number) with openbox, torn down with whole process groups.
class XServer {
public:
    struct Options {
        int width = 1280;
        int height = 800;
        bool sharedMemory = true; // false starts Xvfb without MIT-SHM
        bool windowManager = true;
    };

    XServer();
    explicit XServer(Options options);
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    bool isRunning() const { return m_connection != nullptr; }
    QString errorString() const { return m_error; }
    QString display() const { return m_display; }
    // The caller's environment pointed at this server (DISPLAY, no WAYLAND_DISPLAY, no session bus, Qt on xcb) plus changes
    // ("NAME=value" sets, "NAME" removes).
    QStringList environmentList(const QStringList& changes = {}) const;

    ChildProcess::Result xdotool(const QStringList& arguments) const;
    // RandR 1.5 monitors "m0", "m1", ...; the first takes over the screen's output.
    bool setMonitors(const QList<QRect>& monitors);

    // Starts a client window and waits until it is mapped, painted and managed; 0 on failure.
    uint32_t createWindow(const TestWindowOptions& options);
    void destroyWindow(uint32_t window);

    // Pixels of two same-sized pictures whose colours differ; -1 when the sizes differ.
    static int differingPixels(const QImage& a, const QImage& b);
    // The screen's pixels as the server holds them now (Format_RGB32).
    QImage grab(QRect area = {}) const;
    QRect geometryOf(uint32_t window) const; // client area in root coordinates
    bool isViewable(uint32_t window) const;
    bool isManaged(uint32_t window) const; // listed in _NET_CLIENT_LIST
    // Viewable windows whose _NET_WM_PID is the process (on the root or inside window manager frames).
    QList<uint32_t> viewableWindowsOf(qint64 pid) const;
    QString titleOf(uint32_t window) const;

    // Polls the condition, with a server round trip before each try, until it holds or time runs out.
    bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 10000) const;

private:
    bool startServer();
    bool startWindowManager();
    bool windowManagerReady() const;
    void sync() const;

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
