// The lumivex executable started with --capture on a private Xvfb with openbox, driven with xdotool like a
// user would, its result written with --output and compared with the server's own pixels.

#include "CaptureFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cmath>

#include <fcntl.h>
#include <sys/stat.h>
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

int modeOf(const QString& path)
{
    struct stat status;
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? int(status.st_mode & 07777) : -1;
}

bool writeText(const QString& path, const QByteArray& text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

// The mean absolute difference of the colour channels of two same-sized pictures.
double meanDifference(const QImage& a, const QImage& b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / (3.0 * a.width() * a.height());
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
    QString fileName = "capture.png";
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
    const QString path = m_directory.filePath(c.fileName);
    launch({"--capture=" + c.mode, "--output=" + path}, overlay ? monitors.size() : 0,
           c.scale == 1 ? QStringList{} : QStringList{"QT_SCALE_FACTOR=" + QString::number(c.scale)});
    for (const uint32_t window : overlayWindows()) // an overlay covering each monitor
        EXPECT_TRUE(monitors.contains(m_server->geometryOf(window))) << m_server->geometryOf(window).x();
    if (!c.actions.isEmpty())
        xdotool(c.actions);
    ASSERT_EQ(exitCode(), 0) << log();
    const bool jpeg = c.fileName.endsWith("JPG");
    const QImage image(path, jpeg ? "JPEG" : "PNG");
    ASSERT_EQ(image.size(), c.expected.size());
    if (jpeg) // lossy: close to the server's pixels on average
        EXPECT_LT(meanDifference(image, m_screenBefore.copy(c.expected)), 2.0);
    else
        EXPECT_EQ(XServer::differingPixels(image, m_screenBefore.copy(c.expected)), 0);
    EXPECT_NEAR(image.dotsPerMeterX() * 0.0254, 72 * c.scale, 0.5);
    EXPECT_EQ(modeOf(path), 0600);
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
             {"mousemove", "700", "700"}, 1, false},
        // The direct full-screen road starts no Qt platform layer, yet states the same resolution.
        Case{"fullscreen_two_pixels_per_point", "fullscreen", {}, {0, 0, 640, 800}, twoMonitors,
             {"mousemove", "100", "700"}, 2},
        Case{"fullscreen_to_jpeg_by_extension", "fullscreen", {}, {0, 0, 1280, 800}, {}, {}, 1, true, "capture.JPG"}),
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

// A folder that vanished, a file where the folder should be, and a folder that may not be written (even root may
// not write to /sys): a message naming the file, exit code 1, nothing written. The first two are known before an
// overlay would open, so no one picks an area in vain.
TEST_F(X11CaptureCommand, AnOutputThatCannotBeWrittenFailsClearlyAndWritesNothing)
{
    start();
    ASSERT_TRUE(writeText(m_directory.filePath("file"), "not a folder"));
    const QString gone = m_directory.filePath("gone/shot.png"), notAFolder = m_directory.filePath("file/shot.png");
    for (const auto& [mode, path] : std::vector<std::pair<QString, QString>>{
             {"fullscreen", gone}, {"fullscreen", notAFolder}, {"fullscreen", "/sys/shot.png"}, {"area", gone},
             {"window", notAFolder}}) {
        SCOPED_TRACE((mode + " " + path).toStdString());
        launch({"--capture=" + mode, "--output=" + path}, 0);
        EXPECT_EQ(exitCode(), 1) << log();
        EXPECT_TRUE(QString::fromStdString(log()).contains("shot.png")) << log();
        EXPECT_TRUE(overlayWindows().isEmpty());
        EXPECT_FALSE(QFileInfo::exists(path));
    }
    // The folder goes away while the user picks: the write fails the same way.
    QDir(m_directory.path()).mkdir("out");
    const QString path = m_directory.filePath("out/shot.png");
    launch({"--capture=area", "--output=" + path}, 1);
    ASSERT_TRUE(QDir(m_directory.filePath("out")).removeRecursively());
    xdotool({"key", "Return"});
    EXPECT_EQ(exitCode(), 1) << log();
    EXPECT_TRUE(QString::fromStdString(log()).contains("shot.png")) << log();
    EXPECT_FALSE(QFileInfo::exists(m_directory.filePath("out")));
}

// The old file keeps its contents under its other name (a hard link): the new one took the name by a rename, never
// by writing into the old file, and no temporary file is left behind.
TEST_F(X11CaptureCommand, OutputReplacesAnExistingFileAtomically)
{
    start();
    ASSERT_TRUE(writeText(outputPath(), "the old picture"));
    ASSERT_TRUE(QFile::setPermissions(outputPath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther));
    ASSERT_EQ(::link(QFile::encodeName(outputPath()).constData(), QFile::encodeName(m_directory.filePath("old")).constData()), 0);
    launch({"--capture=fullscreen", "--output=" + outputPath()}, 0);
    ASSERT_EQ(exitCode(), 0) << log();
    EXPECT_EQ(XServer::differingPixels(QImage(outputPath()), m_screenBefore), 0);
    EXPECT_EQ(QFile::permissions(outputPath()) & QFileDevice::ReadOther, 0);
    QFile old(m_directory.filePath("old"));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "the old picture");
    EXPECT_EQ(QDir(m_directory.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList({"capture.png", "lumivex.log", "old"}));
}

// xclip reads what the command put on the clipboard, as any program pasting would; the command keeps serving it
// until another program takes the clipboard, then ends with 0.
TEST_F(X11CaptureCommand, ClipboardServesThePngUntilAnotherProgramTakesIt)
{
    start({}, twoMonitors);
    ASSERT_TRUE(writeText(m_directory.filePath("text"), "copied elsewhere"));
    const auto xclip = [this](const QStringList& arguments) {
        return ChildProcess::run("xclip", QStringList{"-selection", "clipboard"} + arguments, m_server->environmentList(), 20000);
    };
    for (const QString mode : {"fullscreen", "area"}) {
        SCOPED_TRACE(mode.toStdString());
        xdotool({"mousemove", "1000", "300"});
        launch({"--capture=" + mode, "--clipboard"}, mode == "area" ? 2 : 0);
        if (mode == "area")
            xdotool({"key", "Return"});
        ASSERT_TRUE(m_server->waitUntil([&] { return xclip({"-t", "TARGETS", "-o"}).output.contains("image/png"); }, 20000))
            << log();
        const ChildProcess::Result png = xclip({"-t", "image/png", "-o"});
        const QImage image = QImage::fromData(png.output, "PNG");
        EXPECT_EQ(XServer::differingPixels(image, m_screenBefore.copy(640, 0, 640, 800)), 0) << log();
        EXPECT_NEAR(image.dotsPerMeterX() * 0.0254, 72, 0.5);
        EXPECT_TRUE(m_lumivex.isRunning());

        ChildProcess other;
        ASSERT_TRUE(other.start({"xclip", {"-quiet", "-selection", "clipboard", "-i", m_directory.filePath("text")},
                                 m_server->environmentList(), -1, -1, -1}));
        EXPECT_EQ(exitCode(), 0) << log();
        EXPECT_EQ(xclip({"-o"}).output, "copied elsewhere");
        other.stop();
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
