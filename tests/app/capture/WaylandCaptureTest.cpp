// Capture on a private headless sway with the real desktop portal: two outputs, the second at scale 2, each
// covered by client windows of fresh random colours, compared with what the compositor itself shows (grim).

#include "CaptureFixture.h"

#include "app/platform/PortalCaptureBackend.h"
#include "core/geometry/QtAdapters.h"
#include "support/PrivateBus.h"
#include "support/WaylandStack.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QThread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumivex::test {
namespace {

QColor randomColor()
{
    return QColor::fromRgb(QRandomGenerator::global()->generate() | 0xff000000u);
}

// Runs the event loop until the future is done (at most 30 s).
DisplayCapture await(QFuture<DisplayCapture> future)
{
    for (int i = 0; i < 3000 && !future.isFinished(); ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(10);
    }
    return future.isFinished() ? future.result() : DisplayCapture(CaptureError::failed(QStringLiteral("no answer")));
}

// A portal backend on the stack's bus for its first `count` outputs (output n at scale n + 1).
PortalCaptureBackend::Options portalOn(const WaylandStack& stack, int count, const QString& connection)
{
    QList<OutputGeometry> outputs;
    for (int i = 0; i < count; ++i)
        outputs.append({nullptr, stack.outputName(i), stack.outputGeometry(i), double(i + 1)});
    PortalCaptureBackend::Options options;
    options.bus = QDBusConnection::connectToBus(stack.value("DBUS_SESSION_BUS_ADDRESS"), connection);
    options.outputs = [outputs] { return outputs; };
    return options;
}

class WaylandCapture : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_stack = new WaylandStack();
        // The first output in one colour: the portal's picture holds it enlarged to the second's density, and
        // only solid areas come back exact from that. The second, in three stripes, is exact to the pixel.
        s_ready = s_stack->isRunning() && s_stack->showStripes(0, {randomColor()})
            && s_stack->showStripes(1, {randomColor(), randomColor(), randomColor()});
    }
    static void TearDownTestSuite() { delete s_stack; }

    void SetUp() override
    {
        ASSERT_TRUE(s_stack->isRunning()) << s_stack->errorString().toStdString();
        ASSERT_TRUE(s_ready) << "the test windows did not show";
        ASSERT_TRUE(m_directory.isValid());
    }

    QStringList environment(const QStringList& more = {}) const
    {
        return s_stack->environmentList(QStringList{"XDG_CONFIG_HOME=" + m_directory.path()} + more);
    }
    std::string log() const
    {
        QFile file(m_directory.filePath("lumivex.log"));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
    }
    QString outputPath() const { return m_directory.filePath("capture.png"); }
    ChildProcess::Result capture(const QString& mode) const
    {
        return ChildProcess::run(QStringLiteral(LUMIVEX_EXECUTABLE), {"--capture=" + mode, "--output=" + outputPath()},
                                 environment(), 30000);
    }
    // Starts an overlay capture and waits for one full-screen overlay on every output.
    void launchOverlays()
    {
        const int logFd = ::open(QFile::encodeName(m_directory.filePath("lumivex.log")).constData(),
                                 O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        ASSERT_TRUE(m_lumivex.start({QStringLiteral(LUMIVEX_EXECUTABLE), {"--capture=area", "--output=" + outputPath()},
                                     environment({"QT_LOGGING_RULES=qt.qpa.wayland.input=true"}), logFd, logFd, -1}));
        ::close(logFd);
        const auto overlays = [&] {
            QStringList outputs = s_stack->fullScreenOutputsOf(m_lumivex.pid());
            outputs.sort();
            return outputs == QStringList{s_stack->outputName(0), s_stack->outputName(1)};
        };
        for (int i = 0; i < 400 && !overlays(); ++i)
            QThread::msleep(50);
        ASSERT_TRUE(overlays());
    }

    // The pixels of output n (at scale n + 1) under a drag between two layout points.
    static QRect pixelsOf(int output, QPoint from, QPoint to)
    {
        const QPoint origin = s_stack->outputGeometry(output).topLeft();
        const QPoint topLeft(std::min(from.x(), to.x()) - origin.x(), std::min(from.y(), to.y()) - origin.y());
        const QSize size(std::abs(to.x() - from.x()), std::abs(to.y() - from.y()));
        return {topLeft * (output + 1), size * (output + 1)};
    }

    static inline WaylandStack* s_stack = nullptr;
    static inline bool s_ready = false;
    QTemporaryDir m_directory;
    ChildProcess m_lumivex;
};

TEST_F(WaylandCapture, PortalShotsAreEachOutputsOwnPixels)
{
    PortalCaptureBackend backend(portalOn(*s_stack, 2, QStringLiteral("lumivex-wayland-test")));
    const DisplayCapture result = await(backend.captureDisplays());
    ASSERT_TRUE(std::holds_alternative<QList<DisplayShot>>(result)) << std::get<CaptureError>(result).description().toStdString();
    const QList<DisplayShot>& shots = std::get<QList<DisplayShot>>(result);
    ASSERT_EQ(shots.size(), 2);
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(shots[i].globalFrame, fromQt(QRectF(s_stack->outputGeometry(i))));
        EXPECT_EQ(shots[i].scale(), i + 1);
        EXPECT_EQ(XServer::differingPixels(shots[i].image, s_stack->grabOutput(i)), 0);
    }
    EXPECT_FALSE(QFile::exists("/tmp/out.png")) << "the portal's file holds screen contents and is ours to delete";
}

TEST_F(WaylandCapture, FullScreenIsTheOutputUnderThePointer)
{
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const auto pointer = s_stack->holdPointer(s_stack->outputGeometry(i).center());
        QThread::msleep(300); // until sway hides the cursor image, which grim would otherwise see
        const ChildProcess::Result run = capture("fullscreen");
        ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
        const QImage image(outputPath());
        EXPECT_EQ(XServer::differingPixels(image, s_stack->grabOutput(i)), 0) << image.width() << "×" << image.height();
        EXPECT_NEAR(image.dotsPerMeterX() * 0.0254, 72 * (i + 1), 0.5);
    }
}

TEST_F(WaylandCapture, AreaDragOnEachOutputYieldsTheDraggedPixels)
{
    // In layout points; the drag on the second output crosses a stripe edge.
    const std::vector<std::pair<QPoint, QPoint>> drags{{{700, 500}, {300, 200}}, {{2000, 50}, {2300, 250}}};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        QFile::remove(outputPath());
        const auto [from, to] = drags[size_t(i)];
        // A desktop has its pointer before the overlays come; a pointer that appears later misses their first events.
        const auto pointer = s_stack->holdPointer({5, 5});
        QThread::msleep(300); // until sway hides the cursor image, which the frozen picture would otherwise show
        const QImage expected = s_stack->grabOutput(i).copy(pixelsOf(i, from, to));
        launchOverlays();
        // Entering an overlay activates it; like a hand, the press comes a moment later.
        ASSERT_TRUE(s_stack->pointer(s_stack->pointerAt(from) + QStringList{"sleep", "300", "down"}
                                     + s_stack->pointerAt((from + to) / 2) + s_stack->pointerAt(to) + QStringList{"up"})
                        .ok());
        ASSERT_EQ(m_lumivex.waitForExit(30000), 0) << log();
        const QImage image(outputPath());
        EXPECT_EQ(XServer::differingPixels(image, expected), 0)
            << image.width() << "×" << image.height() << " for " << expected.width() << "×" << expected.height();
    }
}

TEST_F(WaylandCapture, EscapeDeliversNothing)
{
    launchOverlays();
    // wtype's keyboard appears with the command: give the overlay time to take it before the key comes.
    ASSERT_TRUE(s_stack->run("wtype", {"-s", "500", "-k", "Escape"}).ok());
    EXPECT_EQ(m_lumivex.waitForExit(30000), 1);
    EXPECT_FALSE(QFile::exists(outputPath()));
}

TEST_F(WaylandCapture, SomeoneElsesPortalFileIsNeverDelivered)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to leave a file owned by another user";
    // A stale /tmp/out.png of another user: the wlroots portal reports it either as its own failure or hands it
    // back; both must end in an error, and the other user's file stays.
    const QString stale = QStringLiteral("/tmp/out.png");
    QImage other(64, 64, QImage::Format_RGB32);
    other.fill(Qt::magenta);
    ASSERT_TRUE(other.save(stale));
    ASSERT_EQ(::chown("/tmp/out.png", 65534, 65534), 0);
    const auto pointer = s_stack->holdPointer(s_stack->outputGeometry(0).center());
    const ChildProcess::Result run = capture("fullscreen");
    struct stat status {};
    const bool remains = ::stat("/tmp/out.png", &status) == 0 && status.st_uid == 65534;
    QFile::remove(stale);
    EXPECT_EQ(run.exitCode, 1) << run.errors.toStdString();
    EXPECT_FALSE(run.errors.isEmpty());
    EXPECT_FALSE(QFile::exists(outputPath()));
    EXPECT_TRUE(remains);
}

// A desktop whose portal does not answer, or is not there: an error soon, never a wait without end.
class WaylandPortalFailure : public testing::Test {
protected:
    static void SetUpTestSuite() { s_stack = new WaylandStack({{{1280, 720}, 1}}); }
    static void TearDownTestSuite() { delete s_stack; }
    void SetUp() override { ASSERT_TRUE(s_stack->isRunning()) << s_stack->errorString().toStdString(); }

    static inline WaylandStack* s_stack = nullptr;
};

TEST_F(WaylandPortalFailure, APickThatNeverEndsTimesOut)
{
    // The wlroots portal's picker waits for a drag that never comes, and the portal itself has no time limit.
    PortalCaptureBackend::Options options = portalOn(*s_stack, 1, QStringLiteral("lumivex-wayland-timeout"));
    options.pickingTimeout = std::chrono::milliseconds(1500);
    PortalCaptureBackend backend(options);
    const DisplayCapture result = await(backend.pickWithDesktop());
    ASSERT_TRUE(std::holds_alternative<CaptureError>(result));
    EXPECT_EQ(std::get<CaptureError>(result).kind(), CaptureError::Kind::failed);
    EXPECT_TRUE(std::get<CaptureError>(result).description().contains("1.5"));
    s_stack->run("wtype", {"-s", "500", "-k", "Escape"}); // ends the picker
}

TEST_F(WaylandPortalFailure, WithoutAPortalTheCommandEndsWithAClearError)
{
    QTemporaryDir directory;
    PrivateBus bus; // nothing runs on it, and nothing can be started
    ASSERT_TRUE(bus.isRunning());
    const std::vector<std::pair<QString, QByteArray>> buses{{"unix:path=" + directory.filePath("none"), "D-Bus"},
                                                            {bus.address(), "org.freedesktop.portal.Screenshot"}};
    for (const auto& [address, says] : buses) {
        SCOPED_TRACE(address.toStdString());
        const ChildProcess::Result run = ChildProcess::run(
            QStringLiteral(LUMIVEX_EXECUTABLE), {"--capture=fullscreen", "--output=" + directory.filePath("x.png")},
            s_stack->environmentList({"DBUS_SESSION_BUS_ADDRESS=" + address, "XDG_CONFIG_HOME=" + directory.path()}), 8000);
        EXPECT_FALSE(run.timedOut);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.errors.contains(says)) << run.errors.toStdString();
    }
}

} // namespace
} // namespace lumivex::test
