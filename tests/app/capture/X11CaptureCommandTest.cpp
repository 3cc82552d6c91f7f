// The lumivex executable started with --capture on a private Xvfb with openbox, driven with xdotool like a
// user would, its result written with --output and compared with the server's own pixels.

#include "CaptureFixture.h"

#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>

namespace lumivex::test {
namespace {

QStringList drag(QPoint from, QPoint to)
{
    const QPoint middle = (from + to) / 2;
    QStringList arguments{"mousemove", QString::number(from.x()), QString::number(from.y()), "mousedown", "1"};
    for (const QPoint p : {middle, to})
        arguments << "mousemove" << QString::number(p.x()) << QString::number(p.y());
    return arguments << "mouseup" << "1";
}

class X11CaptureCommand : public testing::Test {
protected:
    // Windows of known colours, so that every region of the screen is recognisable.
    void start(XServer::Options options = {}, const QList<QRect>& monitors = {})
    {
        ASSERT_TRUE(m_directory.isValid());
        m_server = std::make_unique<XServer>(options);
        ASSERT_TRUE(m_server->isRunning()) << m_server->errorString().toStdString();
        for (const auto& [geometry, color] : std::vector<std::pair<QRect, QColor>>{
                 {{100, 100, 300, 200}, QColor(220, 40, 40)}, {{300, 200, 300, 300}, QColor(40, 160, 60)},
                 {{560, 50, 200, 200}, QColor(40, 70, 210)}, {{900, 400, 250, 250}, QColor(240, 200, 0)}}) {
            TestWindowOptions options;
            options.geometry = geometry;
            options.color = color;
            options.netTitle = color.name();
            m_windows.append(m_server->createWindow(options));
            ASSERT_NE(m_windows.back(), 0u);
        }
        if (!monitors.isEmpty()) {
            ASSERT_TRUE(m_server->setMonitors(monitors));
        }
    }

    // Starts lumivex and waits until it shows this many overlays, one of them with the keyboard focus.
    void launch(const QStringList& arguments, int overlays, const QStringList& environment = {})
    {
        m_screenBefore = m_server->grab();
        const int logFd = ::open(QFile::encodeName(m_directory.filePath("lumivex.log")).constData(),
                                 O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        const QStringList env = m_server->environmentList(
            QStringList{"XDG_CONFIG_HOME=" + m_directory.path(), "XDG_RUNTIME_DIR=" + m_directory.path(),
                        "LUMIVEX_PLATFORM"} + environment);
        ASSERT_TRUE(m_lumivex.start({QStringLiteral(LUMIVEX_EXECUTABLE), arguments, env, logFd, logFd, -1}));
        ::close(logFd);
        if (overlays == 0)
            return;
        ASSERT_TRUE(m_server->waitUntil([&] { return overlayWindows().size() == overlays; }, 20000)) << log();
        const auto focused = [&] { return m_server->xdotool({"getwindowfocus"}).output.trimmed().toUInt(); };
        ASSERT_TRUE(m_server->waitUntil([&] { return overlayWindows().contains(focused()); }, 20000)) << log();
    }

    QList<uint32_t> overlayWindows() const { return m_server->viewableWindowsOf(m_lumivex.pid()); }
    void xdotool(const QStringList& arguments) { ASSERT_TRUE(m_server->xdotool(arguments).ok()) << arguments.join(' ').toStdString(); }
    std::optional<int> exitCode() { return m_lumivex.waitForExit(30000); }
    QString outputPath() const { return m_directory.filePath("capture.png"); }

    std::string log() const
    {
        QFile file(m_directory.filePath("lumivex.log"));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
    }

    QTemporaryDir m_directory;
    std::unique_ptr<XServer> m_server;
    QList<uint32_t> m_windows;
    ChildProcess m_lumivex;
    QImage m_screenBefore;
};

struct Case {
    const char* name;
    QString mode;
    QStringList actions;   // xdotool arguments once the overlays are up
    QRect expected;        // in screen pixels
    QList<QRect> monitors = {}; // empty: one covering the screen
    QStringList before = {};    // xdotool arguments before the launch
    double scale = 1;      // device pixels per point
    bool sharedMemory = true;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class X11CaptureCommandResult : public X11CaptureCommand, public testing::WithParamInterface<Case> {};

TEST_P(X11CaptureCommandResult, IsExactlyTheServersPixels)
{
    const Case& c = GetParam();
    start({.sharedMemory = c.sharedMemory}, c.monitors);
    if (!c.before.isEmpty())
        xdotool(c.before);
    const QList<QRect> monitors = c.monitors.isEmpty() ? QList<QRect>{{0, 0, 1280, 800}} : c.monitors;
    const bool overlay = c.mode != "fullscreen";
    launch({"--capture=" + c.mode, "--output=" + outputPath()}, overlay ? monitors.size() : 0,
           c.scale == 1 ? QStringList{} : QStringList{"QT_SCALE_FACTOR=" + QString::number(c.scale)});
    for (const uint32_t window : overlayWindows()) // an overlay covering each monitor
        EXPECT_TRUE(monitors.contains(m_server->geometryOf(window))) << m_server->geometryOf(window).x();
    if (!c.actions.isEmpty())
        xdotool(c.actions);
    ASSERT_EQ(exitCode(), 0) << log();
    const QImage image(outputPath());
    EXPECT_EQ(XServer::differingPixels(image, m_screenBefore.copy(c.expected)), 0) << image.width() << "×" << image.height();
    EXPECT_NEAR(image.dotsPerMeterX() * 0.0254, 72 * c.scale, 0.5);
    EXPECT_TRUE(overlayWindows().isEmpty());
}

const QList<QRect> twoMonitors{{0, 0, 640, 800}, {640, 0, 640, 800}};

INSTANTIATE_TEST_SUITE_P(
    X11, X11CaptureCommandResult,
    testing::Values(
        Case{"area_drag", "area", drag({420, 330}, {150, 120}), {150, 120, 270, 210}},
        // In window mode the press would take the whole red window instead.
        Case{"space_twice_returns_to_area_mode", "area", QStringList{"key", "space", "key", "space"} + drag({120, 120}, {180, 150}),
             {120, 120, 60, 30}},
        // The green window lies over part of the red one.
        Case{"window_click", "window", {"mousemove", "350", "250", "click", "1"}, {300, 200, 300, 300}},
        Case{"return_takes_the_monitor_under_the_pointer", "area", {"key", "Return"}, {640, 0, 640, 800}, twoMonitors,
             {"mousemove", "1000", "300"}},
        Case{"drag_stays_on_its_monitor", "area", drag({600, 100}, {760, 300}), {600, 100, 40, 200}, twoMonitors,
             {"mousemove", "600", "100"}},
        // 100 × 50 points are 200 × 100 pixels.
        Case{"two_pixels_per_point", "area", drag({200, 150}, {400, 250}), {200, 150, 200, 100}, {}, {}, 2},
        Case{"fullscreen_without_shared_memory", "fullscreen", {}, {640, 0, 640, 800}, twoMonitors,
             {"mousemove", "700", "700"}, 1, false}),
    [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST_F(X11CaptureCommand, CancellingClosesEveryOverlayAndDeliversNothing)
{
    start({}, twoMonitors);
    for (const QStringList& cancel : {QStringList{"key", "Escape"}, QStringList{"mousemove", "900", "300", "click", "3"}}) {
        SCOPED_TRACE(cancel.join(' ').toStdString());
        launch({"--capture=area", "--output=" + outputPath()}, 2);
        // Our overlays are never among the windows a capture could pick.
        const QList<WindowInfo> listed = x11Backend(*m_server)->windowsFrontToBack();
        EXPECT_EQ(listed.size(), m_windows.size());
        for (const WindowInfo& window : listed)
            EXPECT_FALSE(overlayWindows().contains(window.id));
        xdotool(drag({200, 200}, {203, 400})); // 3 pixels wide: too narrow, the overlay stays
        xdotool(drag({500, 500}, {500, 500})); // a click
        xdotool(cancel);
        EXPECT_EQ(exitCode(), 1) << log();
        EXPECT_TRUE(overlayWindows().isEmpty());
        EXPECT_FALSE(QFile::exists(outputPath()));
    }
}

TEST_F(X11CaptureCommand, WithoutOutputTheCaptureOpensInAnEditorWindow)
{
    start();
    launch({"--capture=area"}, 1);
    const QList<uint32_t> overlays = overlayWindows();
    xdotool({"key", "KP_Enter"});
    ASSERT_TRUE(m_server->waitUntil([&] {
        const QList<uint32_t> windows = overlayWindows();
        return windows.size() == 1 && !overlays.contains(windows.front());
    }, 20000)) << log();
    EXPECT_TRUE(m_server->titleOf(overlayWindows().front()).contains("Lumivex")) << log();
}

TEST(X11CaptureWithoutDisplay, ExitsWithAMessageInsteadOfCrashing)
{
    for (const QString display : {"DISPLAY", "DISPLAY=:4095"}) {
        const ChildProcess::Result result = ChildProcess::run(
            QStringLiteral(LUMIVEX_EXECUTABLE), {"--capture=area"},
            environmentWith({display, "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}), 20000);
        EXPECT_EQ(result.exitCode, 2) << display.toStdString() << ": " << result.errors.toStdString();
        EXPECT_TRUE(result.errors.contains("display")) << result.errors.toStdString();
    }
}

} // namespace
} // namespace lumivex::test
