// Overlay picking on the offscreen platform: real widgets and Qt events over two frozen coordinate pictures.

#include "CaptureFixture.h"

#include "app/capture/CaptureOverlayLayout.h"

#include <QTest>

namespace lumivex::test {
namespace {

class CaptureOverlay : public CaptureFixture {
protected:
    // Exactly one result, every pixel of it the frozen pixel at its place in the display's image.
    void expectOneCropOf(QRect pixels, double scale)
    {
        ASSERT_EQ(m_results.size(), 1u);
        const QImage& image = m_results[0].image;
        EXPECT_EQ(m_results[0].scale, scale);
        ASSERT_EQ(image.size(), pixels.size());
        EXPECT_EQ(image.format(), QImage::Format_ARGB32_Premultiplied);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                ASSERT_EQ(image.pixel(x, y), coordinateAt(pixels.x() + x, pixels.y() + y)) << x << "," << y;
        m_results.clear();
    }
};

TEST_F(CaptureOverlay, OneOverlayPerDisplayAndADragYieldsExactlyTheDraggedPixelsAtTheDisplaysDensity)
{
    CaptureSession* session = open(CaptureSession::Mode::area);
    ASSERT_TRUE(session);
    ASSERT_EQ(session->overlays().size(), 2);
    for (int i : {0, 1}) { // the pointer's display has the keyboard and the hint
        EXPECT_EQ(session->overlays()[i]->geometry(), QRect(640 * i, 0, 640, 400));
        EXPECT_TRUE(session->overlays()[i]->isVisible());
        EXPECT_EQ(session->overlays()[i]->hasKeyboard(), i == 0);
        EXPECT_EQ(view(i)->showsHint(), i == 0);
    }
    QTest::mousePress(view(0), Qt::LeftButton, {}, QPoint(110, 60));
    QTest::mouseMove(view(0), QPoint(60, 40));
    QTest::mouseMove(view(0), QPoint(10, 10));
    // Dragged up and to the left: the normalised 100 × 50 points, labelled in pixels.
    ASSERT_EQ(view(0)->selection(), Rect(10, 10, 100, 50));
    EXPECT_EQ(CaptureOverlayLayout::sizeLabelText(view(0)->selection()->size(), view(0)->shot().scale()),
              QStringLiteral("200 × 100"));
    QTest::mouseRelease(view(0), Qt::LeftButton, {}, QPoint(10, 10));
    expectOneCropOf({20, 20, 200, 100}, 2);
    EXPECT_EQ(m_ends, std::vector<bool>{true});
    EXPECT_FALSE(m_coordinator->session());
}

TEST_F(CaptureOverlay, TinySelectionsKeepTheOverlayOpenAndNoSelectionLeavesItsDisplay)
{
    CaptureSession* session = open(CaptureSession::Mode::area);
    drag(view(1), {100, 100}, {103, 200}); // under four points wide
    EXPECT_FALSE(view(1)->selection());
    QTest::mouseClick(view(1), Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_TRUE(m_results.empty());
    EXPECT_FALSE(session->isFinished());
    drag(view(1), {100, 100}, {104, 104});
    expectOneCropOf({100, 100, 4, 4}, 1);

    ASSERT_TRUE(open(CaptureSession::Mode::area));
    QTest::mousePress(view(1), Qt::LeftButton, {}, QPoint(600, 300));
    QTest::mouseMove(view(1), QPoint(900, 700));
    EXPECT_EQ(view(1)->selection(), Rect(600, 300, 40, 100));
    QTest::mouseMove(view(1), QPoint(-300, -50)); // onto the left display and above the top
    EXPECT_EQ(view(1)->selection(), Rect(0, 0, 600, 300));
    QTest::mouseRelease(view(1), Qt::LeftButton, {}, QPoint(-300, -50));
    expectOneCropOf({0, 0, 600, 300}, 1);
}

TEST_F(CaptureOverlay, ReturnOrKeypadEnterTakesTheWholeDisplay)
{
    ASSERT_TRUE(open(CaptureSession::Mode::area));
    QTest::keyClick(view(1), Qt::Key_Return);
    expectOneCropOf({0, 0, 640, 400}, 1);
    ASSERT_TRUE(open(CaptureSession::Mode::window));
    QTest::keyClick(view(0), Qt::Key_Enter, Qt::KeypadModifier);
    expectOneCropOf({0, 0, 1280, 800}, 2);
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
            QTest::keyClick(view(1), Qt::Key_Escape);
        EXPECT_TRUE(session->isFinished());
        for (CaptureOverlayWindow* overlay : overlays)
            EXPECT_FALSE(overlay->isVisible());
        EXPECT_FALSE(m_coordinator->session());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    EXPECT_TRUE(m_results.empty());
    EXPECT_EQ(m_ends, (std::vector<bool>{false, false}));
    EXPECT_TRUE(open(CaptureSession::Mode::area)); // ready for the next capture
}

TEST_F(CaptureOverlay, OnlyTheFirstFinishDelivers)
{
    CaptureSession* session = open(CaptureSession::Mode::area);
    CaptureOverlayView* left = view(0);
    QTest::keyClick(view(1), Qt::Key_Return);
    // Input already on its way to the hidden overlays changes nothing.
    session->finish(std::nullopt);
    QTest::keyClick(left, Qt::Key_Return);
    drag(left, {10, 10}, {100, 100});
    EXPECT_EQ(m_results.size(), 1u);
    EXPECT_EQ(m_ends, std::vector<bool>{true});
}

TEST_F(CaptureOverlay, SpaceTwiceReturnsToAreaModeAndOtherKeysAreIgnored)
{
    CaptureSession* session = open(CaptureSession::Mode::area);
    for (const Qt::Key key : {Qt::Key_A, Qt::Key_Tab, Qt::Key_Backspace, Qt::Key_F5})
        QTest::keyClick(view(0), key);
    EXPECT_EQ(session->mode(), CaptureSession::Mode::area);
    QTest::mousePress(view(0), Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(view(0), QPoint(200, 200));
    ASSERT_TRUE(view(0)->selection());
    QTest::keyClick(view(0), Qt::Key_Space);
    EXPECT_EQ(session->mode(), CaptureSession::Mode::window);
    EXPECT_EQ(view(0)->cursor().shape(), Qt::ArrowCursor);
    QTest::keyClick(view(0), Qt::Key_Space);
    EXPECT_EQ(session->mode(), CaptureSession::Mode::area);
    EXPECT_EQ(view(0)->cursor().shape(), Qt::CrossCursor);
    EXPECT_FALSE(view(0)->selection());
    // The drag was abandoned: releasing the button still held delivers nothing.
    QTest::mouseRelease(view(0), Qt::LeftButton, {}, QPoint(200, 200));
    EXPECT_TRUE(m_results.empty());
    EXPECT_FALSE(session->isFinished());
}

TEST_F(CaptureOverlay, WindowModeTakesTheFrontMostWindowClippedToTheClickedDisplay)
{
    // Front to back: a small window over a large one that spans both displays.
    m_backend.setWindows({WindowInfo{7, Rect(100, 50, 100, 80), QStringLiteral("Front"), {}},
                          WindowInfo{9, Rect(500, 100, 400, 200), QStringLiteral("Back"), {}}});
    CaptureSession* session = open(CaptureSession::Mode::window);
    QTest::mouseMove(view(0), QPoint(20, 350));
    EXPECT_FALSE(view(0)->hoveredWindow());
    QTest::mouseClick(view(0), Qt::LeftButton, {}, QPoint(20, 350)); // on no window: nothing happens
    EXPECT_FALSE(session->isFinished());
    QTest::mouseMove(view(0), QPoint(150, 100));
    ASSERT_TRUE(view(0)->hoveredWindow());
    EXPECT_EQ(view(0)->hoveredWindow()->id, 7u);
    QTest::keyClick(view(0), Qt::Key_Space); // area mode forgets the hovered window
    EXPECT_FALSE(view(0)->hoveredWindow());
    QTest::keyClick(view(0), Qt::Key_Space);
    QTest::mouseMove(view(0), QPoint(150, 100));
    QTest::mouseClick(view(0), Qt::LeftButton, {}, QPoint(150, 100));
    expectOneCropOf({200, 100, 200, 160}, 2);

    ASSERT_TRUE(open(CaptureSession::Mode::window));
    QTest::mouseMove(view(1), QPoint(100, 150));
    EXPECT_EQ(view(1)->hoveredWindow()->id, 9u);
    QTest::mouseClick(view(1), Qt::LeftButton, {}, QPoint(100, 150));
    expectOneCropOf({0, 100, 260, 200}, 1);
}

TEST(CaptureOverlayLayout, SizeLabelCountsImagePixelsAndStaysOnTheDisplay)
{
    EXPECT_EQ(CaptureOverlayLayout::sizeLabelText(Size(100.25, 50.75), 2), QStringLiteral("201 × 102"));
    EXPECT_EQ(CaptureOverlayLayout::sizeLabelText(Size(3, 7), 1.5), QStringLiteral("5 × 11"));
    EXPECT_EQ(CaptureOverlayLayout::pillSize(Size(80.2, 16)), Size(105, 28));
    EXPECT_EQ(CaptureOverlayLayout::sizeLabelOrigin(Rect(30, 100, 50, 50)), Point(30, 72));
    EXPECT_EQ(CaptureOverlayLayout::sizeLabelOrigin(Rect(30, 10, 50, 50)), Point(30, 4));
}

} // namespace
} // namespace lumivex::test
