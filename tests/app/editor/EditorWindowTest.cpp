// The editor window's commands: Undo and Redo name their step, the inline editor and gestures in progress get
// their keys first, Ctrl+C copies, Ctrl+V pastes, Delete deletes.
#include "CanvasFixture.h"

#include "app/editor/EditorCommands.h"
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
        EXPECT_FALSE(m_window->commands().undo()->isEnabled());
        m_window->document().setTool(Tool::rectangle);
        QTest::mousePress(&canvas(), Qt::LeftButton, {}, at({100, 100}));
        QTest::mouseMove(&canvas(), at({200, 180}));
        QTest::mouseRelease(&canvas(), Qt::LeftButton, {}, at({200, 180}));
        ASSERT_EQ(annotationCount(), 1u);
    }
    void TearDown() override { delete m_window.data(); }
    CanvasView& canvas() { return m_window->canvas(); }
    EditorDocument& doc() { return m_window->document(); }
    QPoint at(Point p) { return canvas().transform().toView(p).toPoint(); }
    std::size_t annotationCount() { return doc().state().annotations.size(); }
    std::size_t undoCount() { return doc().undoStack().undoSteps().size(); }

    QPointer<EditorWindow> m_window; // the window deletes itself when closed
};

TEST_F(EditorWindowTest, UndoAndRedoNameTheirStepAndFollowTheKeys)
{
    EXPECT_EQ(m_window->commands().undo()->text(), QStringLiteral("실행 취소 추가"));
    QTest::keyClick(&canvas(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(annotationCount(), 0u);
    EXPECT_EQ(m_window->commands().redo()->text(), QStringLiteral("다시 실행 추가"));
    EXPECT_EQ(m_window->commands().undo()->text(), QStringLiteral("실행 취소"));
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
    QTest::keyClicks(field, QStringLiteral("cd"));
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Backspace);
    EXPECT_TRUE(field->toPlainText().isEmpty()) << "select all and delete act on the typed text";
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

TEST_F(EditorWindowTest, DeleteAndBackspaceRemoveTheSelectedObjectOnly)
{
    const QUuid drawn = doc().state().annotations.front().id;
    const std::size_t before = undoCount();
    doc().select(std::nullopt);
    QTest::keyClick(&canvas(), Qt::Key_Delete);
    EXPECT_EQ(annotationCount(), 1u) << "nothing selected, nothing deleted";
    doc().select(drawn);
    QTest::keyClick(&canvas(), Qt::Key_Backspace);
    EXPECT_EQ(annotationCount(), 0u);
    EXPECT_EQ(undoCount(), before + 1);
    EXPECT_EQ(doc().undoActionName(), QStringLiteral("삭제"));
}

TEST_F(EditorWindowTest, PasteAddsAClipboardImageAsASticker)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("just words"));
    QTest::keyClick(&canvas(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(annotationCount(), 1u) << "no image, nothing pasted";

    QImage picture(300, 150, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::darkCyan);
    QGuiApplication::clipboard()->setImage(picture);
    const std::size_t before = undoCount();
    QTest::keyClick(&canvas(), Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(annotationCount(), 2u);
    const Annotation sticker = doc().state().annotations.back();
    ASSERT_TRUE(sticker.sticker && !sticker.sticker->isEmoji());
    EXPECT_EQ(sticker.sticker->stickerImage()->image().size(), picture.size());
    EXPECT_DOUBLE_EQ(sticker.frame.width / sticker.frame.height, 2.0);
    EXPECT_EQ(doc().tool(), Tool::select);
    EXPECT_EQ(undoCount(), before + 1);
    EXPECT_EQ(doc().undoActionName(), QStringLiteral("추가"));
}

TEST_F(EditorWindowTest, GesturesInProgressKeepTheirKeys)
{
    // A drag: no command runs until the mouse lets go, so the drag stays one step.
    const Annotation box = doc().state().annotations.front();
    const std::size_t before = undoCount();
    doc().setTool(Tool::select);
    QTest::mousePress(&canvas(), Qt::LeftButton, {}, at({100, 140})); // on its outline
    QTest::mouseMove(&canvas(), at({120, 150}));
    ASSERT_TRUE(canvas().isDragging());
    for (const auto& [key, modifiers] : {std::pair{Qt::Key_Delete, Qt::NoModifier}, {Qt::Key_Z, Qt::ControlModifier},
                                         {Qt::Key_V, Qt::ControlModifier}, {Qt::Key_Left, Qt::NoModifier}})
        QTest::keyClick(&canvas(), key, modifiers);
    QTest::mouseRelease(&canvas(), Qt::LeftButton, {}, at({120, 150}));
    ASSERT_EQ(annotationCount(), 1u);
    const Rect moved = doc().state().annotations.front().frame;
    EXPECT_NEAR(moved.x, box.frame.x + 20, 1); // view points round to whole pixels
    EXPECT_NEAR(moved.y, box.frame.y + 10, 1);
    EXPECT_EQ(undoCount(), before + 1);

    // A polygon being drafted: Delete takes back its last vertex instead of deleting the draft.
    doc().setTool(Tool::polygon);
    for (const Point p : {Point{400, 100}, Point{500, 100}, Point{500, 200}})
        QTest::mouseClick(&canvas(), Qt::LeftButton, {}, at(p));
    ASSERT_TRUE(canvas().polygonDraft());
    const std::size_t vertices = doc().annotation(*canvas().polygonDraft())->points.size();
    QTest::keyClick(&canvas(), Qt::Key_Delete);
    ASSERT_TRUE(canvas().polygonDraft());
    EXPECT_EQ(doc().annotation(*canvas().polygonDraft())->points.size(), vertices - 1);
}

} // namespace
} // namespace lumivex::test
