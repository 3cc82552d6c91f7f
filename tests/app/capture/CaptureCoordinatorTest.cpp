// The coordinator on the test backend: one capture at a time, permission, failures, the display under the pointer.

#include "CaptureFixture.h"

#include "app/capture/CaptureCommand.h"

#include <QTest>

namespace lumivex::test {
namespace {

class CaptureCoordinatorRules : public CaptureFixture {};

TEST_F(CaptureCoordinatorRules, OneCaptureAtATimeButTheCallbackMayStartTheNext)
{
    m_backend.setHeld(true);
    m_coordinator->startOverlay(CaptureSession::Mode::area);
    EXPECT_TRUE(m_coordinator->isBusy());
    m_coordinator->startOverlay(CaptureSession::Mode::window);
    m_coordinator->captureFullScreen();
    EXPECT_EQ(m_backend.captureCount(), 1);

    m_backend.release();
    ASSERT_TRUE(waitFor([this] { return m_coordinator->session() != nullptr; }));
    CaptureSession* session = m_coordinator->session();
    EXPECT_EQ(session->mode(), CaptureSession::Mode::area);
    m_coordinator->startOverlay(CaptureSession::Mode::area);
    m_coordinator->captureFullScreen();
    EXPECT_EQ(m_backend.captureCount(), 1);
    EXPECT_EQ(m_coordinator->session(), session);
    EXPECT_TRUE(m_results.empty());

    m_backend.setHeld(false);
    QObject::connect(m_coordinator.get(), &CaptureCoordinator::captured,
                     [this] { m_coordinator->startOverlay(CaptureSession::Mode::window); });
    QTest::keyClick(view(0), Qt::Key_Return);
    ASSERT_TRUE(waitFor([&] {
        return m_coordinator->session() && m_coordinator->session()->mode() == CaptureSession::Mode::window;
    }));
    EXPECT_EQ(m_backend.captureCount(), 2);
}

TEST_F(CaptureCoordinatorRules, WithoutPermissionNothingIsCapturedAndTheUserIsTold)
{
    m_backend.setAccessGranted(false);
    m_coordinator->startOverlay(CaptureSession::Mode::area);
    m_coordinator->captureFullScreen();
    EXPECT_EQ(m_backend.captureCount(), 0);
    EXPECT_EQ(m_backend.accessRequests(), 2);
    ASSERT_EQ(m_failures.size(), 2u);
    EXPECT_EQ(m_failures[0].kind(), CaptureError::Kind::permissionDenied);
    EXPECT_FALSE(m_coordinator->isBusy());
}

TEST_F(CaptureCoordinatorRules, FailedOrEmptyFreezesAreReportedAndTheNextRequestWorks)
{
    m_backend.setError(CaptureError::failed(QStringLiteral("BadMatch")));
    m_coordinator->startOverlay(CaptureSession::Mode::area);
    ASSERT_TRUE(waitFor([this] { return m_failures.size() == 1; }));
    EXPECT_EQ(m_failures[0].description(), QStringLiteral("캡처에 실패했습니다: BadMatch"));
    EXPECT_FALSE(m_coordinator->isBusy());
    EXPECT_EQ(m_ends, std::vector<bool>{false});
    // Success with no display at all is a failure too, not a session without overlays.
    m_backend.setShots({});
    m_coordinator->startOverlay(CaptureSession::Mode::area);
    ASSERT_TRUE(waitFor([this] { return m_failures.size() == 2; }));
    m_coordinator->captureFullScreen();
    ASSERT_TRUE(waitFor([this] { return m_failures.size() == 3; }));
    EXPECT_EQ(m_failures[2].kind(), CaptureError::Kind::noDisplay);
    EXPECT_FALSE(m_coordinator->session());
    EXPECT_EQ(m_backend.captureCount(), 3);
}

TEST_F(CaptureCoordinatorRules, FullScreenTakesTheDisplayUnderThePointer)
{
    const std::vector<std::pair<std::optional<Point>, int>> cases{
        {Point(700, 10), 640}, {Point(639.5, 399.5), 1280},
        {Point(640, 10), 640},    // the left display's right edge is the right display's first column
        {Point(700, 400), 1280},  // below both (the bottom edge is outside): the first display
        {std::nullopt, 1280}};
    for (const auto& [pointer, width] : cases) {
        SCOPED_TRACE(pointer ? pointer->x : -1);
        m_results.clear();
        m_backend.setPointer(pointer);
        m_coordinator->captureFullScreen();
        ASSERT_TRUE(waitFor([this] { return !m_results.empty(); }));
        EXPECT_EQ(m_results[0].image.width(), width);
        EXPECT_EQ(m_results[0].scale, width == 1280 ? 2.0 : 1.0);
        EXPECT_EQ(m_results[0].image.pixel(5, 7), coordinateAt(5, 7));
    }
}

// Where the desktop picks windows itself, window mode (from the start, or by Space on an overlay) hands over to its
// picker, and the road ends once: with the picked picture, or with nothing when the user leaves the picker.
TEST_F(CaptureCoordinatorRules, WindowModeHandsOverToTheDesktopsPicker)
{
    m_backend.setWindowPicking(WindowPicking::byDesktop);
    m_backend.setPicked(QList<DisplayShot>{{nullptr, QString(), coordinateImage(40, 30), Rect(0, 0, 20, 15)}});
    m_coordinator->startOverlay(CaptureSession::Mode::window);
    ASSERT_TRUE(waitFor([this] { return !m_ends.empty(); }));
    EXPECT_EQ(m_backend.captureCount(), 0); // nothing frozen: the desktop takes the picture
    ASSERT_EQ(m_results.size(), 1u);
    EXPECT_EQ(m_results[0].image.pixel(39, 29), coordinateAt(39, 29));
    EXPECT_EQ(m_results[0].scale, 2.0);

    m_results.clear();
    m_ends.clear();
    m_backend.setPicked(QList<DisplayShot>());
    open(CaptureSession::Mode::area);
    QTest::keyClick(view(0), Qt::Key_Space);
    ASSERT_TRUE(waitFor([this] { return !m_ends.empty(); }));
    EXPECT_EQ(m_ends, std::vector<bool>{false});
    EXPECT_TRUE(m_results.empty());
    EXPECT_EQ(m_coordinator->session(), nullptr);
}

TEST(CaptureCommandLine, ReadsTheCaptureOptions)
{
    using Kind = CaptureCommand::Kind;
    struct Case { QStringList arguments; Kind kind; QString output; bool clipboard, editor; };
    for (const Case& c : {Case{{"--login-item", "--output=/tmp/a b.png", "--capture=fullscreen"}, Kind::fullscreen,
                               "/tmp/a b.png", false, false},
                          Case{{"--capture=area"}, Kind::area, "", false, true},
                          Case{{"--clipboard", "--capture=window"}, Kind::window, "", true, false}}) {
        const CaptureCommand::Parsed parsed = CaptureCommand::parse(c.arguments);
        ASSERT_TRUE(parsed.command) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(parsed.command->kind, c.kind);
        EXPECT_EQ(parsed.command->outputPath, c.output);
        EXPECT_EQ(parsed.command->toClipboard, c.clipboard);
        EXPECT_EQ(parsed.command->opensEditor(), c.editor);
    }
    const CaptureCommand::Parsed none = CaptureCommand::parse({QStringLiteral("--login-item")});
    EXPECT_FALSE(none.command);
    EXPECT_TRUE(none.error.isEmpty());
    for (const QString bad : {"--capture=screen", "--capture", "--output=x.png", "--capture=area --capture=window",
                              "--capture=area --output=", "--clipboard", "--capture=area --clipboard --output=x.png"}) {
        const CaptureCommand::Parsed parsed = CaptureCommand::parse(bad.split(QLatin1Char(' ')));
        EXPECT_FALSE(parsed.command) << bad.toStdString();
        EXPECT_FALSE(parsed.error.isEmpty()) << bad.toStdString();
    }
}

} // namespace
} // namespace lumivex::test
