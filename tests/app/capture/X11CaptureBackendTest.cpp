// The X11 capture backend against a private Xvfb with openbox: frozen pixels, monitors, the window list.

#include "app/platform/X11CaptureBackend.h"
#include "support/XServer.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace lumivex {
namespace {

using test::TestWindowSpec;
using test::XServer;

QRgb rgb(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xffffff; }

TestWindowSpec window(QRect geometry, QColor color)
{
    TestWindowSpec spec;
    spec.geometry = geometry;
    spec.color = color;
    spec.netTitle = QStringLiteral("window");
    return spec;
}

class X11CaptureBackendTest : public testing::Test {
protected:
    void start(XServer::Options options = {})
    {
        m_server = std::make_unique<XServer>(options);
        ASSERT_TRUE(m_server->isRunning()) << m_server->errorString().toStdString();
    }

    std::unique_ptr<X11CaptureBackend> backend(double scale = 1, bool sharedMemory = true, qint64 ownPid = -1)
    {
        X11CaptureBackend::Options options;
        options.displayName = m_server->display().toLatin1();
        options.screens = [scale](const X11ScreenGrabber::Monitor&) { return X11CaptureBackend::ScreenMatch{nullptr, scale}; };
        options.allowSharedMemory = sharedMemory;
        options.ownProcessId = ownPid;
        return std::make_unique<X11CaptureBackend>(options);
    }

    static QList<DisplayShot> freeze(CaptureBackend& backend)
    {
        QFuture<DisplayCapture> future = backend.captureDisplays();
        future.waitForFinished();
        const DisplayCapture result = future.result();
        if (const CaptureError* error = std::get_if<CaptureError>(&result)) {
            ADD_FAILURE() << error->description().toStdString();
            return {};
        }
        return std::get<QList<DisplayShot>>(result);
    }

    // Only the test's windows, in the order listed (the window manager may list nothing else, but be sure).
    QList<uint32_t> listedIds(CaptureBackend& backend, const QList<uint32_t>& ours)
    {
        QList<uint32_t> ids;
        for (const WindowInfo& info : backend.windowsFrontToBack())
            if (ours.contains(info.id))
                ids.append(info.id);
        return ids;
    }

    std::unique_ptr<XServer> m_server;
};

TEST_F(X11CaptureBackendTest, X11FrozenScreenHasTheServersPixelsWithoutThePointer)
{
    for (const bool sharedMemory : {true, false}) {
        SCOPED_TRACE(sharedMemory ? "MIT-SHM" : "without MIT-SHM");
        start({.sharedMemory = sharedMemory});
        ASSERT_TRUE(m_server->createWindow(window({100, 100, 300, 200}, QColor(200, 30, 40))));
        ASSERT_TRUE(m_server->createWindow(window({250, 150, 300, 300}, QColor(20, 180, 60))));
        TestWindowSpec framed = window({700, 300, 250, 150}, QColor(30, 60, 220));
        framed.decorated = true;
        ASSERT_TRUE(m_server->createWindow(framed));
        // The pointer rests over the red window: a frozen screen must not show it.
        ASSERT_TRUE(m_server->xdotool({"mousemove", "150", "150"}).ok());

        auto capture = backend(1, sharedMemory);
        const QList<DisplayShot> shots = freeze(*capture);
        ASSERT_EQ(shots.size(), 1);
        EXPECT_EQ(capture->usedSharedMemory(), sharedMemory);
        EXPECT_EQ(shots[0].globalFrame, Rect(0, 0, 1280, 800));
        EXPECT_EQ(shots[0].scale(), 1.0);
        EXPECT_EQ(XServer::differingPixels(shots[0].image, m_server->grab()), 0);
        for (int dy = 0; dy < 24; ++dy)
            for (int dx = 0; dx < 24; ++dx)
                ASSERT_EQ(rgb(shots[0].image, 140 + dx, 140 + dy), 0xc81e28u) << dx << "," << dy;
        EXPECT_EQ(rgb(shots[0].image, 400, 300), 0x14b43cu);
    }
}

TEST_F(X11CaptureBackendTest, X11EarlierFreezesKeepTheirPixelsAndOutliveTheBackend)
{
    start();
    auto capture = backend();
    const uint32_t red = m_server->createWindow(window({0, 0, 200, 200}, Qt::red));
    const QList<DisplayShot> before = freeze(*capture);
    m_server->destroyWindow(red);
    ASSERT_TRUE(m_server->createWindow(window({0, 0, 200, 200}, Qt::blue)));
    const QList<DisplayShot> after = freeze(*capture);
    capture.reset();
    ASSERT_EQ(before.size(), 1);
    ASSERT_EQ(after.size(), 1);
    EXPECT_EQ(rgb(before[0].image, 50, 50), 0xff0000u);
    EXPECT_EQ(rgb(after[0].image, 50, 50), 0x0000ffu);

    // Once nothing holds the first freeze its memory is reused; the newest pixels must be the server's.
    auto again = backend();
    QList<DisplayShot> third = freeze(*again);
    third = freeze(*again);
    EXPECT_EQ(XServer::differingPixels(third[0].image, m_server->grab()), 0);
}

TEST_F(X11CaptureBackendTest, X11EveryMonitorBecomesOneShotWithItsGlobalFrame)
{
    start();
    ASSERT_TRUE(m_server->createWindow(window({600, 100, 100, 100}, QColor(250, 200, 0))));
    ASSERT_TRUE(m_server->setMonitors({{640, 0, 640, 800}, {0, 0, 640, 800}}));

    auto capture = backend();
    const QList<DisplayShot> shots = freeze(*capture);
    ASSERT_EQ(shots.size(), 2);
    // Without a primary monitor the order is left to right.
    EXPECT_EQ(shots[0].name, QStringLiteral("m1"));
    EXPECT_EQ(shots[0].globalFrame, Rect(0, 0, 640, 800));
    EXPECT_EQ(shots[1].name, QStringLiteral("m0"));
    EXPECT_EQ(shots[1].globalFrame, Rect(640, 0, 640, 800));
    const QImage screen = m_server->grab();
    EXPECT_EQ(XServer::differingPixels(shots[0].image, screen.copy(0, 0, 640, 800)), 0);
    EXPECT_EQ(XServer::differingPixels(shots[1].image, screen.copy(640, 0, 640, 800)), 0);
    // The yellow window straddles the border: 40 pixels on the left monitor, 60 on the right one.
    EXPECT_EQ(rgb(shots[0].image, 639, 150), 0xfac800u);
    EXPECT_EQ(rgb(shots[1].image, 0, 150), 0xfac800u);
    EXPECT_EQ(rgb(shots[1].image, 60, 150), rgb(screen, 700, 150));

    // At two pixels per point every frame is in points, the images stay at full pixel size.
    auto dense = backend(2);
    const QList<DisplayShot> denseShots = freeze(*dense);
    ASSERT_EQ(denseShots.size(), 2);
    EXPECT_EQ(denseShots[1].globalFrame, Rect(320, 0, 320, 400));
    EXPECT_EQ(denseShots[1].image.size(), QSize(640, 800));
    EXPECT_EQ(denseShots[1].scale(), 2.0);
}

TEST_F(X11CaptureBackendTest, X11PointerIsReportedInGlobalPoints)
{
    start();
    ASSERT_TRUE(m_server->xdotool({"mousemove", "300", "120"}).ok());
    EXPECT_EQ(backend(1)->pointerLocation(), Point(300, 120));
    EXPECT_EQ(backend(2)->pointerLocation(), Point(150, 60));
}

TEST_F(X11CaptureBackendTest, X11WindowListIsFrontToBackAndFollowsRaising)
{
    start();
    const uint32_t back = m_server->createWindow(window({50, 50, 200, 200}, Qt::red));
    const uint32_t middle = m_server->createWindow(window({100, 100, 200, 200}, Qt::green));
    const uint32_t front = m_server->createWindow(window({150, 150, 200, 200}, Qt::blue));
    auto capture = backend();
    EXPECT_EQ(listedIds(*capture, {back, middle, front}), (QList<uint32_t>{front, middle, back}));

    ASSERT_TRUE(m_server->xdotool({"windowraise", QString::number(back)}).ok());
    ASSERT_TRUE(m_server->waitUntil([&] { return listedIds(*capture, {back, middle, front}).value(0) == back; }));
    EXPECT_EQ(listedIds(*capture, {back, middle, front}), (QList<uint32_t>{back, front, middle}));
}

TEST_F(X11CaptureBackendTest, X11WindowListKeepsOnlyPickableWindows)
{
    start();
    const qint64 testPid = ::getpid();
    struct Case {
        const char* name;
        TestWindowSpec spec;
        bool listed;
    };
    auto with = [](auto change) {
        TestWindowSpec spec = window({100, 100, 120, 90}, Qt::gray);
        change(spec);
        return spec;
    };
    const std::vector<Case> cases{
        {"plain", with([](auto&) {}), true},
        {"39 wide", with([](auto& s) { s.geometry.setWidth(39); }), false},
        {"39 high", with([](auto& s) { s.geometry.setHeight(39); }), false},
        {"40 by 40", with([](auto& s) { s.geometry.setSize({40, 40}); }), true},
        {"transparent", with([](auto& s) { s.opacity = 0.0; }), false},
        {"half transparent", with([](auto& s) { s.opacity = 0.5; }), true},
        {"dialog", with([](auto& s) { s.type = QStringLiteral("dialog"); }), true},
        {"utility", with([](auto& s) { s.type = QStringLiteral("utility"); }), true},
        {"dock", with([](auto& s) { s.type = QStringLiteral("dock"); }), false},
        {"splash", with([](auto& s) { s.type = QStringLiteral("splash"); }), false},
        {"our own process", with([&](auto& s) { s.pid = testPid; }), false},
        {"override redirect", with([](auto& s) { s.overrideRedirect = true; }), false},
    };
    auto capture = backend();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const uint32_t id = m_server->createWindow(c.spec);
        ASSERT_NE(id, 0u);
        EXPECT_EQ(listedIds(*capture, {id}).size(), c.listed ? 1 : 0);
        m_server->destroyWindow(id);
    }
}

TEST_F(X11CaptureBackendTest, X11MinimisedWindowsLeaveTheList)
{
    start();
    const uint32_t id = m_server->createWindow(window({100, 100, 200, 200}, Qt::red));
    auto capture = backend();
    ASSERT_EQ(listedIds(*capture, {id}).size(), 1);
    ASSERT_TRUE(m_server->xdotool({"windowminimize", QString::number(id)}).ok());
    EXPECT_TRUE(m_server->waitUntil([&] { return listedIds(*capture, {id}).isEmpty(); }));
}

TEST_F(X11CaptureBackendTest, X11WindowDescriptionsComeFromTheirProperties)
{
    start();
    TestWindowSpec legacy = window({40, 60, 200, 100}, Qt::red);
    legacy.netTitle.reset();
    legacy.legacyTitle = QStringLiteral("Caf\u00e9 (Latin-1)");
    legacy.className = QStringLiteral("Gimp");
    TestWindowSpec modern = window({300, 60, 200, 100}, Qt::green);
    modern.netTitle = QStringLiteral("보고서 — 편집");
    modern.legacyTitle = QStringLiteral("ignored");
    TestWindowSpec untitled = window({600, 60, 200, 100}, Qt::blue);
    untitled.netTitle.reset();
    TestWindowSpec framed = window({300, 400, 200, 100}, Qt::yellow);
    framed.decorated = true;

    const uint32_t legacyId = m_server->createWindow(legacy);
    const uint32_t modernId = m_server->createWindow(modern);
    const uint32_t untitledId = m_server->createWindow(untitled);
    const uint32_t framedId = m_server->createWindow(framed);
    QHash<uint32_t, WindowInfo> byId;
    for (const WindowInfo& info : backend()->windowsFrontToBack())
        byId.insert(info.id, info);

    ASSERT_TRUE(byId.contains(legacyId));
    EXPECT_EQ(byId[legacyId].title, QStringLiteral("Caf\u00e9 (Latin-1)"));
    EXPECT_EQ(byId[legacyId].ownerName, QStringLiteral("Gimp"));
    EXPECT_EQ(byId[legacyId].frame, Rect(40, 60, 200, 100));
    EXPECT_EQ(byId[modernId].title, QStringLiteral("보고서 — 편집"));
    ASSERT_TRUE(byId.contains(untitledId));
    EXPECT_EQ(byId[untitledId].title, QString());

    // A framed window is picked with its title bar and borders: the frame sits where the window asked to be.
    ASSERT_TRUE(byId.contains(framedId));
    const Rect frame = byId[framedId].frame;
    const QRect client = m_server->geometryOf(framedId);
    EXPECT_EQ(frame.origin(), Point(300, 400));
    EXPECT_GT(frame.height, client.height());
    EXPECT_TRUE(frame.contains(Rect(client.x(), client.y(), client.width(), client.height())));
}

TEST(X11CaptureBackendWithoutServer, X11UnreachableServerFailsWithAReason)
{
    X11CaptureBackend::Options options;
    options.displayName = ":4095";
    X11CaptureBackend capture(options);
    EXPECT_FALSE(capture.isConnected());
    QFuture<DisplayCapture> future = capture.captureDisplays();
    future.waitForFinished();
    const DisplayCapture result = future.result();
    ASSERT_TRUE(std::holds_alternative<CaptureError>(result));
    EXPECT_EQ(std::get<CaptureError>(result).kind(), CaptureError::Kind::failed);
    EXPECT_TRUE(std::get<CaptureError>(result).description().contains(QStringLiteral(":4095")));
    EXPECT_TRUE(capture.windowsFrontToBack().isEmpty());
    EXPECT_FALSE(capture.pointerLocation());
}

} // namespace
} // namespace lumivex
