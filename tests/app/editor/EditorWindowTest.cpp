// The editor window: Undo and Redo name their step, and their keys reach the inline editor first.
#include "app/editor/CanvasTextSession.h"
#include "app/editor/CanvasView.h"
#include "app/editor/EditorWindow.h"
#include "app/editor/InlineTextEditor.h"
#include "core/document/EditorDocument.h"
#include "core/model/Tool.h"
#include "support/TestImages.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTest>

#include <gtest/gtest.h>

namespace lumivex::test {
namespace {

class EditorWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_window = new EditorWindow(LoadedImage{screenshotLikeImage(800, 500), 1, QStringLiteral("shot")});
        m_window->show();
        QApplication::setActiveWindow(m_window);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window));
    }
    void TearDown() override { delete m_window.data(); }

    void drawRectangle()
    {
        CanvasView& canvas = m_window->canvas();
        const auto at = [&](Point p) { return canvas.transform().toView(p).toPoint(); };
        m_window->document().setTool(Tool::rectangle);
        QTest::mousePress(&canvas, Qt::LeftButton, {}, at({100, 100}));
        QTest::mouseMove(&canvas, at({200, 180}));
        QTest::mouseRelease(&canvas, Qt::LeftButton, {}, at({200, 180}));
    }

    QPointer<EditorWindow> m_window;
};

TEST_F(EditorWindowTest, UndoAndRedoNameTheirStepAndFollowTheKeys)
{
    EXPECT_EQ(m_window->windowTitle(), QStringLiteral("shot"));
    EXPECT_FALSE(m_window->undoAction()->isEnabled());
    drawRectangle();
    ASSERT_EQ(m_window->document().state().annotations.size(), 1u);
    EXPECT_TRUE(m_window->undoAction()->isEnabled());
    EXPECT_EQ(m_window->undoAction()->text(), QStringLiteral("실행 취소 추가"));

    QTest::keyClick(&m_window->canvas(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(m_window->document().state().annotations.empty());
    EXPECT_EQ(m_window->redoAction()->text(), QStringLiteral("다시 실행 추가"));
    EXPECT_EQ(m_window->undoAction()->text(), QStringLiteral("실행 취소"));

    QTest::keyClick(&m_window->canvas(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(m_window->document().state().annotations.size(), 1u);
}

TEST_F(EditorWindowTest, UndoKeysInTheTextFieldUndoTyping)
{
    drawRectangle();
    m_window->document().setTool(Tool::text);
    CanvasView& canvas = m_window->canvas();
    QTest::mouseClick(&canvas, Qt::LeftButton, {}, canvas.transform().toView({400, 300}).toPoint());
    InlineTextEditor* field = canvas.textSession().editor();
    ASSERT_NE(field, nullptr);
    QTest::keyClicks(field, QStringLiteral("ab"));
    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_NE(field->toPlainText(), QStringLiteral("ab")) << "the field undid its typing";
    EXPECT_EQ(m_window->document().state().annotations.size(), 2u) << "the drawn rectangle is still there";
}

TEST_F(EditorWindowTest, CtrlCCopiesTheFinishedPicture)
{
    drawRectangle();
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(&m_window->canvas(), Qt::Key_C, Qt::ControlModifier);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    const QImage copied = QImage::fromData(data->data(QStringLiteral("image/png")), "PNG");
    ASSERT_EQ(copied.size(), QSize(800, 500));
    const QColor edge = copied.pixelColor(150, 100);
    EXPECT_GT(edge.red(), 200) << "the drawn rectangle is in the copy";
    EXPECT_LT(edge.green(), 100);
}

} // namespace
} // namespace lumivex::test
