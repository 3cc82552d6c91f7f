// The editor window: Undo and Redo name their step, their keys reach the inline editor first, Ctrl+C copies.
#include "CanvasFixture.h"

#include "app/editor/EditorWindow.h"
#include "app/editor/InlineTextEditor.h"

#include <QAction>
#include <QClipboard>
#include <QMimeData>
#include <QPointer>

namespace lumivex::test {
namespace {

class EditorWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_window = new EditorWindow(LoadedImage{screenshotLikeImage(800, 500), 1, QStringLiteral("shot")});
        m_window->show();
        QApplication::setActiveWindow(m_window.data());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.data()));
        EXPECT_EQ(m_window->windowTitle(), QStringLiteral("shot"));
        EXPECT_FALSE(m_window->undoAction()->isEnabled());
        m_window->document().setTool(Tool::rectangle);
        QTest::mousePress(&canvas(), Qt::LeftButton, {}, at({100, 100}));
        QTest::mouseMove(&canvas(), at({200, 180}));
        QTest::mouseRelease(&canvas(), Qt::LeftButton, {}, at({200, 180}));
        ASSERT_EQ(annotationCount(), 1u);
    }
    void TearDown() override { delete m_window.data(); }
    CanvasView& canvas() { return m_window->canvas(); }
    QPoint at(Point p) { return canvas().transform().toView(p).toPoint(); }
    std::size_t annotationCount() { return m_window->document().state().annotations.size(); }

    QPointer<EditorWindow> m_window; // the window deletes itself when closed
};

TEST_F(EditorWindowTest, UndoAndRedoNameTheirStepAndFollowTheKeys)
{
    EXPECT_EQ(m_window->undoAction()->text(), QStringLiteral("실행 취소 추가"));
    QTest::keyClick(&canvas(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(annotationCount(), 0u);
    EXPECT_EQ(m_window->redoAction()->text(), QStringLiteral("다시 실행 추가"));
    EXPECT_EQ(m_window->undoAction()->text(), QStringLiteral("실행 취소"));
    QTest::keyClick(&canvas(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(annotationCount(), 1u);
}

TEST_F(EditorWindowTest, UndoKeysInTheTextFieldUndoTyping)
{
    m_window->document().setTool(Tool::text);
    QTest::mouseClick(&canvas(), Qt::LeftButton, {}, at({400, 300}));
    InlineTextEditor* field = canvas().textSession().editor();
    ASSERT_NE(field, nullptr);
    QTest::keyClicks(field, QStringLiteral("ab"));
    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_NE(field->toPlainText(), QStringLiteral("ab")) << "the field undid its typing";
    EXPECT_EQ(annotationCount(), 2u) << "the drawn rectangle is still there";
}

TEST_F(EditorWindowTest, CtrlCCopiesTheFinishedPicture)
{
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(&canvas(), Qt::Key_C, Qt::ControlModifier);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    const QImage copied = QImage::fromData(data->data(QStringLiteral("image/png")), "PNG");
    ASSERT_EQ(copied.size(), QSize(800, 500));
    EXPECT_GT(copied.pixelColor(150, 100).red(), 200) << "the drawn rectangle is in the copy";
    EXPECT_LT(copied.pixelColor(150, 100).green(), 100);
}

} // namespace
} // namespace lumivex::test
