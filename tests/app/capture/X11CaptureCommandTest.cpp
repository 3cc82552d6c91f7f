// End to end: the lumivex executable started with --capture on a private Xvfb with openbox, driven with
// xdotool like a user would, its result written with --output and compared with the server's own pixels.

#include "app/platform/X11CaptureBackend.h"
#include "support/XServer.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace lumivex {
namespace {

using test::ChildProcess;
using test::TestWindowSpec;
using test::XServer;

class X11CaptureCommand : public testing::Test {
protected:
    void start(XServer::Options options = {})
    {
        ASSERT_TRUE(m_directory.isValid());
        m_server = std::make_unique<XServer>(options);
        ASSERT_TRUE(m_server->isRunning()) << m_server->errorString().toStdString();
        // Windows of known colours, so that every region of the screen is recognisable.
        const std::vector<std::pair<QRect, QColor>> windows{{{100, 100, 300, 200}, QColor(220, 40, 40)},
                                                             {{300, 200, 300, 300}, QColor(40, 160, 60)},
                                                             {{560, 50, 200, 200}, QColor(40, 70, 210)},
                                                             {{900, 400, 250, 250}, QColor(240, 200, 0)}};
        for (const auto& [geometry, color] : windows) {
            TestWindowSpec spec;
            spec.geometry = geometry;
            spec.color = color;
            spec.netTitle = color.name();
            m_windows.append(m_server->createWindow(spec));
            ASSERT_NE(m_windows.back(), 0u);
        }
    }

    QString outputPath() const { return m_directory.filePath(QStringLiteral("capture.png")); }

    // Starts lumivex with these arguments and waits until it shows `overlays` overlay windows that have the
    // keyboard focus.
    void launch(const QStringList& arguments, int overlays, const QStringList& environment = {})
    {
        m_screenBefore = m_server->grab();
        const int logFd = ::open(QFile::encodeName(m_directory.filePath(QStringLiteral("lumivex.log"))).constData(),
                               O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        const QStringList env = m_server->environmentList(
            QStringList{QStringLiteral("XDG_CONFIG_HOME=") + m_directory.path(),
                        QStringLiteral("XDG_RUNTIME_DIR=") + m_directory.path(), QStringLiteral("LUMIVEX_PLATFORM")}
            + environment);
        ASSERT_TRUE(m_lumivex.start({QStringLiteral(LUMIVEX_EXECUTABLE), arguments, env, logFd, logFd, -1}));
        ::close(logFd);
        if (overlays == 0)
            return;
        ASSERT_TRUE(m_server->waitUntil([&] { return overlayWindows().size() == overlays; }, 20000)) << log_();
        ASSERT_TRUE(m_server->waitUntil([&] { return overlayWindows().contains(focusedWindow()); }, 20000)) << log_();
    }

    QList<uint32_t> overlayWindows() const { return m_server->viewableWindowsOf(m_lumivex.pid()); }

    uint32_t focusedWindow() const { return m_server->xdotool({"getwindowfocus"}).output.trimmed().toUInt(); }

    void xdotool(const QStringList& arguments) { ASSERT_TRUE(m_server->xdotool(arguments).ok()) << arguments.join(' ').toStdString(); }

    void dragFromTo(QPoint from, QPoint to)
    {
        const QPoint middle = (from + to) / 2;
        xdotool({"mousemove", QString::number(from.x()), QString::number(from.y()), "mousedown", "1", "mousemove",
                 QString::number(middle.x()), QString::number(middle.y()), "mousemove", QString::number(to.x()),
                 QString::number(to.y()), "mouseup", "1"});
    }

    std::optional<int> exitCode() { return m_lumivex.waitForExit(30000); }

    std::string log_() const
    {
        QFile file(m_directory.filePath(QStringLiteral("lumivex.log")));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
    }

    QImage output() const { return QImage(outputPath()); }

    QTemporaryDir m_directory;
    std::unique_ptr<XServer> m_server;
    QList<uint32_t> m_windows;
    ChildProcess m_lumivex;
    QImage m_screenBefore;
};

TEST_F(X11CaptureCommand, AreaDragYieldsExactlyTheDraggedPixels)
{
    start();
    launch({QStringLiteral("--capture=area"), QStringLiteral("--output=") + outputPath()}, 1);
    const QList<uint32_t> overlays = overlayWindows();
    EXPECT_EQ(m_server->geometryOf(overlays[0]), QRect(0, 0, 1280, 800));

    // While the overlay is up, it is not among the windows a capture could pick.
    X11CaptureBackend::Options options;
    options.displayName = m_server->display().toLatin1();
    options.screens = [](const X11ScreenGrabber::Monitor&) { return X11CaptureBackend::ScreenMatch{}; };
    X11CaptureBackend lister(options);
    const QList<WindowInfo> listed = lister.windowsFrontToBack();
    EXPECT_EQ(listed.size(), m_windows.size());
    for (const WindowInfo& window : listed)
        EXPECT_FALSE(overlays.contains(window.id));

    dragFromTo({420, 330}, {150, 120});
    ASSERT_EQ(exitCode(), 0) << log_();
    EXPECT_EQ(XServer::differingPixels(output(), m_screenBefore.copy(150, 120, 270, 210)), 0);
    EXPECT_TRUE(overlayWindows().isEmpty());
}

TEST_F(X11CaptureCommand, ShortDragKeepsTheOverlayAndEscapeDeliversNothing)
{
    start();
    launch({QStringLiteral("--capture=area"), QStringLiteral("--output=") + outputPath()}, 1);
    dragFromTo({200, 200}, {203, 400}); // 3 × 200 pixels: too narrow, the overlay stays
    dragFromTo({500, 500}, {500, 500}); // a click
    xdotool({"key", "Escape"});
    EXPECT_EQ(exitCode(), 1) << log_();
    EXPECT_FALSE(QFile::exists(outputPath()));
}

TEST_F(X11CaptureCommand, RightClickClosesEveryOverlayAndDeliversNothing)
{
    start();
    ASSERT_TRUE(m_server->setMonitors({{0, 0, 640, 800}, {640, 0, 640, 800}}));
    launch({QStringLiteral("--capture=area"), QStringLiteral("--output=") + outputPath()}, 2);
    xdotool({"mousemove", "900", "300", "click", "3"});
    EXPECT_EQ(exitCode(), 1) << log_();
    EXPECT_TRUE(overlayWindows().isEmpty());
    EXPECT_FALSE(QFile::exists(outputPath()));
}

TEST_F(X11CaptureCommand, TwoMonitorsGetAnOverlayEachAndReturnTakesTheOneUnderThePointer)
{
    start();
    ASSERT_TRUE(m_server->setMonitors({{0, 0, 640, 800}, {640, 0, 640, 800}}));
    xdotool({"mousemove", "1000", "300"});
    launch({QStringLiteral("--capture=area"), QStringLiteral("--output=") + outputPath()}, 2);
    QList<QRect> geometries;
    for (const uint32_t overlay : overlayWindows())
        geometries.append(m_server->geometryOf(overlay));
    EXPECT_TRUE(geometries.contains(QRect(0, 0, 640, 800)));
    EXPECT_TRUE(geometries.contains(QRect(640, 0, 640, 800)));

    xdotool({"key", "Return"});
    ASSERT_EQ(exitCode(), 0) << log_();
    EXPECT_EQ(XServer::differingPixels(output(), m_screenBefore.copy(640, 0, 640, 800)), 0);
}

TEST_F(X11CaptureCommand, ADragNeverLeavesTheMonitorItStartedOn)
{
    start();
    ASSERT_TRUE(m_server->setMonitors({{0, 0, 640, 800}, {640, 0, 640, 800}}));
    xdotool({"mousemove", "600", "100"});
    launch({QStringLiteral("--capture=area"), QStringLiteral("--output=") + outputPath()}, 2);
    dragFromTo({600, 100}, {760, 300});
    ASSERT_EQ(exitCode(), 0) << log_();
    EXPECT_EQ(XServer::differingPixels(output(), m_screenBefore.copy(600, 100, 40, 200)), 0);
}

TEST_F(X11CaptureCommand, SpaceTwiceReturnsToAreaMode)
{
    start();
    launch({QStringLiteral("--capture=area"), QStringLiteral("--output=") + outputPath()}, 1);
    xdotool({"key", "space", "key", "space"});
    // In window mode this press would take the whole red window instead.
    dragFromTo({120, 120}, {180, 150});
    ASSERT_EQ(exitCode(), 0) << log_();
    EXPECT_EQ(XServer::differingPixels(output(), m_screenBefore.copy(120, 120, 60, 30)), 0);
}

TEST_F(X11CaptureCommand, WindowModeTakesTheClickedWindow)
{
    start();
    launch({QStringLiteral("--capture=window"), QStringLiteral("--output=") + outputPath()}, 1);
    // The green window lies over part of the red one; the click lands on the green one.
    xdotool({"mousemove", "350", "250", "click", "1"});
    ASSERT_EQ(exitCode(), 0) << log_();
    EXPECT_EQ(XServer::differingPixels(output(), m_screenBefore.copy(300, 200, 300, 300)), 0);
}

TEST_F(X11CaptureCommand, AtTwoDevicePixelsPerPointTheImageKeepsEveryPixel)
{
    start();
    launch({QStringLiteral("--capture=area"), QStringLiteral("--output=") + outputPath()}, 1,
           {QStringLiteral("QT_SCALE_FACTOR=2")});
    ASSERT_EQ(overlayWindows().size(), 1);
    EXPECT_EQ(m_server->geometryOf(overlayWindows().front()), QRect(0, 0, 1280, 800));
    // 100 × 50 points are 200 × 100 pixels on the screen.
    dragFromTo({200, 150}, {400, 250});
    ASSERT_EQ(exitCode(), 0) << log_();
    const QImage image = output();
    EXPECT_EQ(image.size(), QSize(200, 100));
    EXPECT_EQ(XServer::differingPixels(image, m_screenBefore.copy(200, 150, 200, 100)), 0);
    // 72 dots per inch per point: 144 at two pixels per point.
    EXPECT_NEAR(image.dotsPerMeterX() * 0.0254, 144, 0.5);
}

TEST_F(X11CaptureCommand, FullScreenTakesTheMonitorUnderThePointerWithoutSharedMemory)
{
    start({.sharedMemory = false});
    ASSERT_TRUE(m_server->setMonitors({{0, 0, 640, 800}, {640, 0, 640, 800}}));
    xdotool({"mousemove", "700", "700"});
    launch({QStringLiteral("--capture=fullscreen"), QStringLiteral("--output=") + outputPath()}, 0);
    ASSERT_EQ(exitCode(), 0) << log_();
    EXPECT_EQ(XServer::differingPixels(output(), m_screenBefore.copy(640, 0, 640, 800)), 0);
}

TEST_F(X11CaptureCommand, WithoutOutputTheCaptureOpensInAnEditorWindow)
{
    start();
    launch({QStringLiteral("--capture=area")}, 1);
    const QList<uint32_t> overlays = overlayWindows();
    xdotool({"key", "KP_Enter"});
    ASSERT_TRUE(m_server->waitUntil([&] {
        const QList<uint32_t> windows = overlayWindows();
        return windows.size() == 1 && !overlays.contains(windows.front());
    }, 20000)) << log_();
    EXPECT_TRUE(m_server->titleOf(overlayWindows().front()).contains(QStringLiteral("Lumivex"))) << log_();
    EXPECT_TRUE(m_lumivex.isRunning());
}

TEST(X11CaptureWithoutDisplay, ExitsWithAMessageInsteadOfCrashing)
{
    for (const QString& display : {QStringLiteral("DISPLAY"), QStringLiteral("DISPLAY=:4095")}) {
        const ChildProcess::Result result = ChildProcess::run(
            QStringLiteral(LUMIVEX_EXECUTABLE), {QStringLiteral("--capture=area")},
            test::environmentWith({display, QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("QT_QPA_PLATFORM")}), 20000);
        EXPECT_EQ(result.exitCode, 2) << display.toStdString() << ": " << result.errors.toStdString();
        EXPECT_TRUE(result.errors.contains("display")) << result.errors.toStdString();
    }
}

} // namespace
} // namespace lumivex
