// Overlay picking without a display server: real widgets and real Qt events on the offscreen platform, the
// displays frozen as pictures whose pixels name their own coordinates.

#include "CaptureFixture.h"

#include "app/capture/CaptureOverlayLayout.h"

#include <QTest>

namespace lumivex::test {
namespace {

class CaptureOverlay : public CaptureFixture {};

// Every pixel of the result must be the frozen pixel at its place in the display's image.
void expectCropOf(const QImage& image, QRect pixels)
{
    ASSERT_EQ(image.size(), pixels.size());
    EXPECT_EQ(image.format(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ASSERT_EQ(image.pixel(x, y), coordinateAt(pixels.x() + x, pixels.y() + y)) << x << "," << y;
}

TEST_F(CaptureOverlay, OneOverlayPerDisplayCoveringItsFrame)
{
    CaptureSession* session = open(CaptureSession::Mode::area);
    ASSERT_TRUE(session);
    ASSERT_EQ(session->overlays().size(), 2);
    EXPECT_EQ(session->overlays()[0]->geometry(), QRect(0, 0, 640, 400));
    EXPECT_EQ(session->overlays()[1]->geometry(), QRect(640, 0, 640, 400));
    EXPECT_TRUE(session->overlays()[0]->isVisible());
    EXPECT_TRUE(session->overlays()[1]->isVisible());
    // The pointer is on the left display: it holds the keyboard and the hint.
    EXPECT_TRUE(session->overlays()[0]->hasKeyboard());
    EXPECT_FALSE(session->overlays()[1]->hasKeyboard());
    EXPECT_TRUE(view(0)->showsHint());
    EXPECT_FALSE(view(1)->showsHint());
}

TEST_F(CaptureOverlay, DragYieldsExactlyTheDraggedPixelsAtTheDisplaysDensity)
{
    ASSERT_TRUE(open(CaptureSession::Mode::area));
    QTest::mousePress(view(0), Qt::LeftButton, {}, QPoint(110, 60));
    QTest::mouseMove(view(0), QPoint(60, 40));
    QTest::mouseMove(view(0), QPoint(10, 10));
    // Dragged up and to the left: still the normalised 100 × 50 points, labelled in pixels.
    ASSERT_EQ(view(0)->selection(), Rect(10, 10, 100, 50));
    EXPECT_EQ(CaptureOverlayLayout::sizeLabelText(view(0)->selection()->size(), view(0)->shot().scale()),
              QStringLiteral("200 × 100"));
    QTest::mouseRelease(view(0), Qt::LeftButton, {}, QPoint(10, 10));

    ASSERT_EQ(m_results.size(), 1u);
    EXPECT_EQ(m_results[0].scale, 2.0);
    expectCropOf(m_results[0].image, QRect(20, 20, 200, 100));
    EXPECT_EQ(m_ends, std::vector<bool>{true});
    EXPECT_FALSE(m_coordinator->session());
}

TEST_F(CaptureOverlay, SelectionsUnderFourPointsKeepTheOverlayOpen)
{
    CaptureSession* session = open(CaptureSession::Mode::area);
    drag(view(1), {100, 100}, {103, 200}); // 3 × 100
    EXPECT_TRUE(m_results.empty());
    EXPECT_FALSE(view(1)->selection());
    EXPECT_FALSE(session->isFinished());
    QTest::mouseClick(view(1), Qt::LeftButton, {}, QPoint(50, 50)); // a plain click
    EXPECT_FALSE(session->isFinished());

    drag(view(1), {100, 100}, {104, 104});
    ASSERT_EQ(m_results.size(), 1u);
    EXPECT_EQ(m_results[0].scale, 1.0);
    expectCropOf(m_results[0].image, QRect(100, 100, 4, 4));
}

TEST_F(CaptureOverlay, SelectionNeverLeavesItsDisplay)
{
    ASSERT_TRUE(open(CaptureSession::Mode::area));
    QTest::mousePress(view(1), Qt::LeftButton, {}, QPoint(600, 300));
    QTest::mouseMove(view(1), QPoint(900, 700));
    EXPECT_EQ(view(1)->selection(), Rect(600, 300, 40, 100));
    QTest::mouseMove(view(1), QPoint(-300, -50)); // across onto the left display and above the top
    EXPECT_EQ(view(1)->selection(), Rect(0, 0, 600, 300));
    QTest::mouseRelease(view(1), Qt::LeftButton, {}, QPoint(-300, -50));
    ASSERT_EQ(m_results.size(), 1u);
    expectCropOf(m_results[0].image, QRect(0, 0, 600, 300));
}

TEST_F(CaptureOverlay, ReturnOrKeypadEnterTakesTheWholeDisplay)
{
    ASSERT_TRUE(open(CaptureSession::Mode::area));
    press(view(1), Qt::Key_Return);
    ASSERT_TRUE(open(CaptureSession::Mode::window));
    press(view(0), Qt::Key_Enter, Qt::KeypadModifier);
    ASSERT_EQ(m_results.size(), 2u);
    expectCropOf(m_results[0].image, QRect(0, 0, 640, 400));
    EXPECT_EQ(m_results[0].scale, 1.0);
    expectCropOf(m_results[1].image, QRect(0, 0, 1280, 800));
    EXPECT_EQ(m_results[1].scale, 2.0);
}

TEST_F(CaptureOverlay, EscapeAndRightClickCloseEveryOverlayWithoutAResult)
{
    for (const bool rightClick : {false, true}) {
        SCOPED_TRACE(rightClick ? "right click" : "Escape");
        CaptureSession* session = open(CaptureSession::Mode::area);
        ASSERT_TRUE(session);
        const QList<CaptureOverlayWindow*> overlays = session->overlays();
        QTest::mousePress(view(1), Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseMove(view(1), QPoint(100, 100));
        if (rightClick)
            QTest::mouseClick(view(1), Qt::RightButton, {}, QPoint(100, 100));
        else
            press(view(1), Qt::Key_Escape);
        EXPECT_TRUE(session->isFinished());
        for (CaptureOverlayWindow* overlay : overlays)
            EXPECT_FALSE(overlay->isVisible());
        EXPECT_FALSE(m_coordinator->session());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    EXPECT_TRUE(m_results.empty());
    EXPECT_EQ(m_ends, (std::vector<bool>{false, false}));
    // And the coordinator is ready for the next capture.
    EXPECT_TRUE(open(CaptureSession::Mode::area));
}

TEST_F(CaptureOverlay, OnlyTheFirstFinishDelivers)
{
    CaptureSession* session = open(CaptureSession::Mode::area);
    CaptureOverlayView* left = view(0);
    CaptureOverlayView* right = view(1);
    press(right, Qt::Key_Return);
    // Keys and clicks that were already on their way to the hidden overlays change nothing.
    session->finish(std::nullopt);
    press(left, Qt::Key_Return);
    drag(left, {10, 10}, {100, 100});
    EXPECT_EQ(m_results.size(), 1u);
    EXPECT_EQ(m_ends, std::vector<bool>{true});
}

TEST_F(CaptureOverlay, SpaceSwitchesModeAndTwiceReturnsWithTheSelectionCleared)
{
    CaptureSession* session = open(CaptureSession::Mode::area);
    QTest::mousePress(view(0), Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(view(0), QPoint(200, 200));
    ASSERT_TRUE(view(0)->selection());
    press(view(0), Qt::Key_Space);
    EXPECT_EQ(session->mode(), CaptureSession::Mode::window);
    EXPECT_EQ(view(0)->cursor().shape(), Qt::ArrowCursor);
    press(view(0), Qt::Key_Space);
    EXPECT_EQ(session->mode(), CaptureSession::Mode::area);
    EXPECT_EQ(view(0)->cursor().shape(), Qt::CrossCursor);
    EXPECT_FALSE(view(0)->selection());
    EXPECT_FALSE(view(0)->dragStart());
    // The button is still down, but the drag it started was abandoned: releasing it delivers nothing.
    QTest::mouseRelease(view(0), Qt::LeftButton, {}, QPoint(200, 200));
    EXPECT_TRUE(m_results.empty());
    EXPECT_FALSE(session->isFinished());
}

TEST_F(CaptureOverlay, OtherKeysAreIgnored)
{
    CaptureSession* session = open(CaptureSession::Mode::area);
    for (const Qt::Key key : {Qt::Key_A, Qt::Key_Tab, Qt::Key_Backspace, Qt::Key_F5})
        press(view(0), key);
    EXPECT_FALSE(session->isFinished());
    EXPECT_EQ(session->mode(), CaptureSession::Mode::area);
}

class CaptureOverlayWindowMode : public CaptureFixture {
protected:
    void SetUp() override
    {
        CaptureFixture::SetUp();
        // Front to back: a small window in front of a large one that spans both displays.
        m_backend.setWindows({WindowInfo{7, Rect(100, 50, 100, 80), QStringLiteral("Front"), QStringLiteral("front")},
                              WindowInfo{9, Rect(500, 100, 400, 200), QStringLiteral("Back"), QStringLiteral("back")}});
    }
};

TEST_F(CaptureOverlayWindowMode, ClickTakesTheFrontMostWindowUnderThePointer)
{
    ASSERT_TRUE(open(CaptureSession::Mode::window));
    QTest::mouseMove(view(0), QPoint(150, 100));
    ASSERT_TRUE(view(0)->hoveredWindow());
    EXPECT_EQ(view(0)->hoveredWindow()->id, 7u);
    QTest::mouseClick(view(0), Qt::LeftButton, {}, QPoint(150, 100));
    ASSERT_EQ(m_results.size(), 1u);
    expectCropOf(m_results[0].image, QRect(200, 100, 200, 160));
}

TEST_F(CaptureOverlayWindowMode, AWindowOnTwoDisplaysKeepsOnlyThePartOnTheClickedOne)
{
    ASSERT_TRUE(open(CaptureSession::Mode::window));
    QTest::mouseMove(view(1), QPoint(100, 150));
    EXPECT_EQ(view(1)->hoveredWindow()->id, 9u);
    QTest::mouseClick(view(1), Qt::LeftButton, {}, QPoint(100, 150));
    ASSERT_EQ(m_results.size(), 1u);
    expectCropOf(m_results[0].image, QRect(0, 100, 260, 200));
}

TEST_F(CaptureOverlayWindowMode, ClickWhereNoWindowIsListedDoesNothing)
{
    CaptureSession* session = open(CaptureSession::Mode::window);
    QTest::mouseMove(view(0), QPoint(20, 350));
    EXPECT_FALSE(view(0)->hoveredWindow());
    QTest::mouseClick(view(0), Qt::LeftButton, {}, QPoint(20, 350));
    EXPECT_FALSE(session->isFinished());
    EXPECT_TRUE(m_results.empty());
    // Switching to area mode forgets the hovered window.
    QTest::mouseMove(view(0), QPoint(150, 100));
    ASSERT_TRUE(view(0)->hoveredWindow());
    press(view(0), Qt::Key_Space);
    EXPECT_FALSE(view(0)->hoveredWindow());
}

TEST(CaptureOverlayLayout, SizeLabelSitsAboveTheSelectionButStaysOnTheDisplay)
{
    EXPECT_EQ(CaptureOverlayLayout::sizeLabelOrigin(Rect(30, 100, 50, 50)), Point(30, 72));
    EXPECT_EQ(CaptureOverlayLayout::sizeLabelOrigin(Rect(30, 10, 50, 50)), Point(30, 4));
    EXPECT_EQ(CaptureOverlayLayout::sizeLabelOrigin(Rect(30, 0, 50, 50)), Point(30, 4));
}

TEST(CaptureOverlayLayout, SizeLabelCountsImagePixelsRoundedHalfAwayFromZero)
{
    EXPECT_EQ(CaptureOverlayLayout::sizeLabelText(Size(100, 50), 2), QStringLiteral("200 × 100"));
    EXPECT_EQ(CaptureOverlayLayout::sizeLabelText(Size(100.25, 50.75), 2), QStringLiteral("201 × 102"));
    EXPECT_EQ(CaptureOverlayLayout::sizeLabelText(Size(3, 7), 1.5), QStringLiteral("5 × 11"));
    EXPECT_EQ(CaptureOverlayLayout::pillSize(Size(80.2, 16)), Size(105, 28));
}

} // namespace
} // namespace lumivex::test
