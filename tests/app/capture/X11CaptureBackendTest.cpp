// The X11 capture backend against a private Xvfb with openbox: frozen pixels, monitors, the window list.

#include "CaptureFixture.h"

#include <unistd.h>

namespace lumivex::test {
namespace {

QRgb rgb(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xffffff; }

TestWindowOptions window(QRect geometry, QColor color)
{
    TestWindowOptions options;
    options.geometry = geometry;
    options.color = color;
    options.netTitle = QStringLiteral("window");
    return options;
}

class X11CaptureBackendTest : public testing::Test {
protected:
    void start(XServer::Options options = {})
    {
        m_server = std::make_unique<XServer>(options);
        ASSERT_TRUE(m_server->isRunning()) << m_server->errorString().toStdString();
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

    // The listed ids among ours, in the order listed.
    static QList<uint32_t> listed(CaptureBackend& backend, const QList<uint32_t>& ours)
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
        const uint32_t red = m_server->createWindow(window({100, 100, 300, 200}, QColor(200, 30, 40)));
        ASSERT_TRUE(red);
        ASSERT_TRUE(m_server->createWindow(window({250, 150, 300, 300}, QColor(20, 180, 60))));
        TestWindowOptions framed = window({700, 300, 250, 150}, QColor(30, 60, 220));
        framed.decorated = true;
        ASSERT_TRUE(m_server->createWindow(framed));
        ASSERT_TRUE(m_server->xdotool({"mousemove", "150", "150"}).ok()); // over red: not in a frozen screen

        auto capture = x11Backend(*m_server, 1, sharedMemory);
        const QList<DisplayShot> shots = freeze(*capture);
        ASSERT_EQ(shots.size(), 1);
        EXPECT_EQ(capture->usedSharedMemory(), sharedMemory);
        EXPECT_EQ(shots[0].globalFrame, Rect(0, 0, 1280, 800));
        EXPECT_EQ(XServer::differingPixels(shots[0].image, m_server->grab()), 0);
        for (int dy = 0; dy < 24; ++dy)
            for (int dx = 0; dx < 24; ++dx)
                ASSERT_EQ(rgb(shots[0].image, 140 + dx, 140 + dy), 0xc81e28u) << dx << "," << dy;

        // A later freeze shows the screen as it is then; the earlier one keeps its pixels past the backend.
        m_server->destroyWindow(red);
        const QList<DisplayShot> after = freeze(*capture);
        capture.reset();
        ASSERT_EQ(after.size(), 1);
        EXPECT_EQ(rgb(shots[0].image, 120, 120), 0xc81e28u);
        EXPECT_EQ(XServer::differingPixels(after[0].image, m_server->grab()), 0);
        EXPECT_NE(rgb(after[0].image, 120, 120), 0xc81e28u);
    }
}

TEST_F(X11CaptureBackendTest, X11EveryMonitorBecomesOneShotWithItsGlobalFrameInPoints)
{
    start();
    ASSERT_TRUE(m_server->createWindow(window({600, 100, 100, 100}, QColor(250, 200, 0))));
    ASSERT_TRUE(m_server->setMonitors({{640, 0, 640, 800}, {0, 0, 640, 800}}));
    ASSERT_TRUE(m_server->xdotool({"mousemove", "300", "120"}).ok());

    const QList<DisplayShot> shots = freeze(*x11Backend(*m_server));
    ASSERT_EQ(shots.size(), 2);
    // Without a primary monitor the order is left to right.
    EXPECT_EQ(shots[0].name, QStringLiteral("m1"));
    EXPECT_EQ(shots[0].globalFrame, Rect(0, 0, 640, 800));
    EXPECT_EQ(shots[1].name, QStringLiteral("m0"));
    EXPECT_EQ(shots[1].globalFrame, Rect(640, 0, 640, 800));
    const QImage screen = m_server->grab();
    EXPECT_EQ(XServer::differingPixels(shots[0].image, screen.copy(0, 0, 640, 800)), 0);
    EXPECT_EQ(XServer::differingPixels(shots[1].image, screen.copy(640, 0, 640, 800)), 0);
    EXPECT_EQ(rgb(shots[1].image, 0, 150), 0xfac800u); // the window straddling the border

    auto dense = x11Backend(*m_server, 2);
    const QList<DisplayShot> denseShots = freeze(*dense);
    ASSERT_EQ(denseShots.size(), 2);
    EXPECT_EQ(denseShots[1].globalFrame, Rect(320, 0, 320, 400));
    EXPECT_EQ(denseShots[1].image.size(), QSize(640, 800));
    EXPECT_EQ(denseShots[1].scale(), 2.0);
    EXPECT_EQ(dense->pointerLocation(), Point(150, 60));
}

TEST_F(X11CaptureBackendTest, X11WindowListIsFrontToBackWithoutMinimisedWindows)
{
    start();
    const uint32_t back = m_server->createWindow(window({50, 50, 200, 200}, Qt::red));
    const uint32_t middle = m_server->createWindow(window({100, 100, 200, 200}, Qt::green));
    const uint32_t front = m_server->createWindow(window({150, 150, 200, 200}, Qt::blue));
    const QList<uint32_t> ours{back, middle, front};
    auto capture = x11Backend(*m_server);
    EXPECT_EQ(listed(*capture, ours), (QList<uint32_t>{front, middle, back}));

    ASSERT_TRUE(m_server->xdotool({"windowraise", QString::number(back)}).ok());
    ASSERT_TRUE(m_server->waitUntil([&] { return listed(*capture, ours).value(0) == back; }));
    EXPECT_EQ(listed(*capture, ours), (QList<uint32_t>{back, front, middle}));

    ASSERT_TRUE(m_server->xdotool({"windowminimize", QString::number(front)}).ok());
    EXPECT_TRUE(m_server->waitUntil([&] { return listed(*capture, ours) == QList<uint32_t>{back, middle}; }));
}

TEST_F(X11CaptureBackendTest, X11WindowListKeepsOnlyPickableWindows)
{
    start();
    const std::vector<std::tuple<const char*, std::function<void(TestWindowOptions&)>, bool>> cases{
        {"plain", [](auto&) {}, true},
        {"39 wide", [](auto& s) { s.geometry.setWidth(39); }, false},
        {"39 high", [](auto& s) { s.geometry.setHeight(39); }, false},
        {"40 by 40", [](auto& s) { s.geometry.setSize({40, 40}); }, true},
        {"transparent", [](auto& s) { s.opacity = 0.0; }, false},
        {"half transparent", [](auto& s) { s.opacity = 0.5; }, true},
        {"dialog", [](auto& s) { s.type = QStringLiteral("dialog"); }, true},
        {"dock", [](auto& s) { s.type = QStringLiteral("dock"); }, false},
        {"splash", [](auto& s) { s.type = QStringLiteral("splash"); }, false},
        {"our own process", [](auto& s) { s.pid = ::getpid(); }, false},
        {"override redirect", [](auto& s) { s.overrideRedirect = true; }, false},
    };
    auto capture = x11Backend(*m_server);
    for (const auto& [name, change, pickable] : cases) {
        SCOPED_TRACE(name);
        TestWindowOptions options = window({100, 100, 120, 90}, Qt::gray);
        change(options);
        const uint32_t id = m_server->createWindow(options);
        ASSERT_NE(id, 0u);
        EXPECT_EQ(listed(*capture, {id}).size(), pickable ? 1 : 0);
        m_server->destroyWindow(id);
    }
}

TEST_F(X11CaptureBackendTest, X11WindowDescriptionsComeFromTheirProperties)
{
    start();
    TestWindowOptions legacy = window({40, 60, 200, 100}, Qt::red);
    legacy.netTitle.reset();
    legacy.legacyTitle = QStringLiteral("Caf\u00e9 (Latin-1)");
    legacy.className = QStringLiteral("Gimp");
    TestWindowOptions modern = window({300, 60, 200, 100}, Qt::green);
    modern.netTitle = QStringLiteral("보고서 — 편집");
    modern.legacyTitle = QStringLiteral("ignored");
    TestWindowOptions framed = window({300, 400, 200, 100}, Qt::yellow);
    framed.decorated = true;
    const uint32_t legacyId = m_server->createWindow(legacy);
    const uint32_t modernId = m_server->createWindow(modern);
    const uint32_t framedId = m_server->createWindow(framed);
    QHash<uint32_t, WindowInfo> byId;
    for (const WindowInfo& info : x11Backend(*m_server)->windowsFrontToBack())
        byId.insert(info.id, info);

    ASSERT_TRUE(byId.contains(legacyId) && byId.contains(modernId) && byId.contains(framedId));
    EXPECT_EQ(byId[legacyId].title, QStringLiteral("Caf\u00e9 (Latin-1)"));
    EXPECT_EQ(byId[legacyId].ownerName, QStringLiteral("Gimp"));
    EXPECT_EQ(byId[legacyId].frame, Rect(40, 60, 200, 100));
    EXPECT_EQ(byId[modernId].title, QStringLiteral("보고서 — 편집"));
    // A framed window is picked with its title bar and borders, the frame where the window asked to be.
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
    const CaptureError* error = std::get_if<CaptureError>(&result);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), CaptureError::Kind::failed);
    EXPECT_TRUE(error->description().contains(QStringLiteral(":4095")));
    EXPECT_TRUE(capture.windowsFrontToBack().isEmpty());
    EXPECT_FALSE(capture.pointerLocation());
}

} // namespace
} // namespace lumivex::test
