// The coordinator's rules on the Null backend: one capture at a time, permission, failures, and the
// display under the pointer.

#include "CaptureFixture.h"

#include "app/capture/CaptureCommand.h"

#include <QTest>

namespace lumivex::test {
namespace {

class CaptureCoordinatorRules : public CaptureFixture {};

TEST_F(CaptureCoordinatorRules, ASecondRequestWhilePreparingOrOnScreenIsIgnored)
{
    m_backend.setHeld(true);
    m_coordinator->startOverlay(CaptureSession::Mode::area);
    EXPECT_TRUE(m_coordinator->isBusy());
    m_coordinator->startOverlay(CaptureSession::Mode::window);
    m_coordinator->captureFullScreen();
    EXPECT_EQ(m_backend.captureCount(), 1);

    m_backend.release();
    ASSERT_TRUE(waitFor([this] { return m_coordinator->session() != nullptr; }));
    EXPECT_FALSE(m_coordinator->isBusy());
    CaptureSession* session = m_coordinator->session();
    EXPECT_EQ(session->mode(), CaptureSession::Mode::area);
    m_coordinator->startOverlay(CaptureSession::Mode::area);
    m_coordinator->captureFullScreen();
    EXPECT_EQ(m_backend.captureCount(), 1);
    EXPECT_EQ(m_coordinator->session(), session);
    EXPECT_TRUE(m_results.empty());
}

TEST_F(CaptureCoordinatorRules, TheCallbackMayStartTheNextCapture)
{
    m_coordinator->setOnCaptured([this](const CaptureResult& result) {
        m_results.push_back(result);
        if (m_results.size() == 1)
            m_coordinator->startOverlay(CaptureSession::Mode::window);
    });
    ASSERT_TRUE(open(CaptureSession::Mode::area));
    QTest::keyClick(view(0), Qt::Key_Return);
    ASSERT_TRUE(waitFor([this] { return m_coordinator->session() != nullptr; }));
    EXPECT_EQ(m_coordinator->session()->mode(), CaptureSession::Mode::window);
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
    EXPECT_FALSE(m_coordinator->session());
    EXPECT_FALSE(m_coordinator->isBusy());
}

TEST_F(CaptureCoordinatorRules, AFailedFreezeIsReportedAndTheNextRequestWorks)
{
    m_backend.setError(CaptureError::failed(QStringLiteral("BadMatch")));
    m_coordinator->startOverlay(CaptureSession::Mode::area);
    ASSERT_TRUE(waitFor([this] { return !m_failures.empty(); }));
    EXPECT_EQ(m_failures[0].description(), QStringLiteral("캡처에 실패했습니다: BadMatch"));
    EXPECT_FALSE(m_coordinator->isBusy());
    EXPECT_FALSE(m_coordinator->session());
    EXPECT_EQ(m_ends, std::vector<bool>{false});

    m_backend.setError(CaptureError::noDisplay());
    m_coordinator->captureFullScreen();
    ASSERT_TRUE(waitFor([this] { return m_failures.size() == 2; }));
    EXPECT_EQ(m_failures[1].description(), QStringLiteral("캡처할 디스플레이를 찾지 못했습니다."));

    // A backend that reports success with no display at all is a failure too, not a session without overlays.
    m_backend.setShots({});
    m_coordinator->startOverlay(CaptureSession::Mode::area);
    ASSERT_TRUE(waitFor([this] { return m_failures.size() == 3; }));
    m_coordinator->captureFullScreen();
    ASSERT_TRUE(waitFor([this] { return m_failures.size() == 4; }));
    EXPECT_EQ(m_failures[3].kind(), CaptureError::Kind::noDisplay);
    EXPECT_FALSE(m_coordinator->session());
    EXPECT_EQ(m_backend.captureCount(), 4);
}

TEST_F(CaptureCoordinatorRules, FullScreenTakesTheDisplayUnderThePointer)
{
    struct Case {
        const char* name;
        std::optional<Point> pointer;
        QSize expectedSize;
    };
    const std::vector<Case> cases{
        {"on the right display", Point(700, 10), QSize(640, 400)},
        {"on the left display", Point(639.5, 399.5), QSize(1280, 800)},
        // The right edge of the left display is the right display's first column.
        {"on the border", Point(640, 10), QSize(640, 400)},
        // Below every display (the bottom edge is outside) or unknown: the first display.
        {"below both", Point(700, 400), QSize(1280, 800)},
        {"unknown", std::nullopt, QSize(1280, 800)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_results.clear();
        m_backend.setPointer(c.pointer);
        m_coordinator->captureFullScreen();
        ASSERT_TRUE(waitFor([this] { return !m_results.empty(); }));
        EXPECT_EQ(m_results[0].image.size(), c.expectedSize);
        EXPECT_EQ(m_results[0].scale, c.expectedSize.width() == 1280 ? 2.0 : 1.0);
        EXPECT_EQ(m_results[0].image.pixel(5, 7), coordinateAt(5, 7));
    }
    EXPECT_FALSE(m_coordinator->session());
}

TEST(CaptureCommandLine, ReadsTheCaptureOptions)
{
    const CaptureCommand::Parsed area = CaptureCommand::parse({QStringLiteral("--capture=area")});
    ASSERT_TRUE(area.command);
    EXPECT_EQ(area.command->kind, CaptureCommand::Kind::area);
    EXPECT_TRUE(area.command->outputPath.isEmpty());

    const CaptureCommand::Parsed saved = CaptureCommand::parse(
        {QStringLiteral("--login-item"), QStringLiteral("--output=/tmp/a b.png"), QStringLiteral("--capture=fullscreen")});
    ASSERT_TRUE(saved.command);
    EXPECT_EQ(saved.command->kind, CaptureCommand::Kind::fullscreen);
    EXPECT_EQ(saved.command->outputPath, QStringLiteral("/tmp/a b.png"));

    EXPECT_FALSE(CaptureCommand::parse({QStringLiteral("--login-item")}).command);
    EXPECT_TRUE(CaptureCommand::parse({QStringLiteral("--login-item")}).error.isEmpty());
    for (const QStringList& bad : {QStringList{QStringLiteral("--capture=screen")}, QStringList{QStringLiteral("--capture")},
                                   QStringList{QStringLiteral("--output=x.png")},
                                   QStringList{QStringLiteral("--capture=area"), QStringLiteral("--capture=window")},
                                   QStringList{QStringLiteral("--capture=area"), QStringLiteral("--output=")}}) {
        const CaptureCommand::Parsed parsed = CaptureCommand::parse(bad);
        EXPECT_FALSE(parsed.command) << bad.join(' ').toStdString();
        EXPECT_FALSE(parsed.error.isEmpty()) << bad.join(' ').toStdString();
    }
}

} // namespace
} // namespace lumivex::test
