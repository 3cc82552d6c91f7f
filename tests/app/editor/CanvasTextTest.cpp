// Text boxes created and edited in place, including text typed through an input method.
#include "CanvasFixture.h"

#include "app/editor/InlineTextEditor.h"

#include <QClipboard>
#include <QInputMethodEvent>
#include <QMimeData>

namespace lumivex::test {
namespace {

class TextEditing : public CanvasFixture {
protected:
    void type(const QString& text) { QTest::keyClicks(textEditor(), text); }
    void editorKey(Qt::Key key, Qt::KeyboardModifiers m = {}) { QTest::keyClick(textEditor(), key, m); }
    void startNewText()
    {
        doc().setTool(Tool::text);
        click({200, 200});
        ASSERT_NE(textEditor(), nullptr);
    }
    Annotation editPlacedHello()
    {
        const Annotation hello = place(textAt({200, 200}, QStringLiteral("Hello")));
        doubleClick(hello.frame.center());
        EXPECT_NE(textEditor(), nullptr);
        return hello;
    }
};

TEST_F(TextEditing, NewTextIsTypedLiveAndCommittedAsOneStep)
{
    startNewText();
    const QUuid id = *canvas().textSession().editingID();
    EXPECT_TRUE(canvas().textSession().glyphHiddenIDs().contains(id));
    type(QStringLiteral("A"));
    editorKey(Qt::Key_Return, Qt::ShiftModifier);
    type(QStringLiteral("B"));
    EXPECT_EQ(doc().annotation(id)->text, QStringLiteral("A\nB")) << "the document follows each keystroke";
    EXPECT_EQ(undoCount(), 0u);

    editorKey(Qt::Key_Return);
    EXPECT_EQ(textEditor(), nullptr);
    EXPECT_TRUE(canvas().textSession().glyphHiddenIDs().isEmpty());
    EXPECT_EQ(onlyAnnotation().text, QStringLiteral("A\nB"));
    EXPECT_DOUBLE_EQ(onlyAnnotation().frame.x, 200) << "the box starts where the user clicked";
    EXPECT_EQ(undoCount(), 1u);
    EXPECT_EQ(lastUndoName(), QStringLiteral("추가"));
}

TEST_F(TextEditing, BlankOrEscapedNewTextLeavesNothing)
{
    for (const QString& blank : {QString(), QStringLiteral("   "), QStringLiteral(" \n "), QStringLiteral("Hello")}) {
        startNewText();
        textEditor()->setPlainText(blank);
        editorKey(blank == QStringLiteral("Hello") ? Qt::Key_Escape : Qt::Key_Return);
        EXPECT_TRUE(annotations().empty()) << blank.toStdString();
        EXPECT_EQ(undoCount(), 0u);
        EXPECT_FALSE(doc().isInteracting());
    }
}

TEST_F(TextEditing, EditingAnExistingTextIsOneStepAndEmptyingItDeletesIt)
{
    const Annotation hello = editPlacedHello();
    const std::size_t before = undoCount();
    EXPECT_EQ(textEditor()->textCursor().selectedText(), QStringLiteral("Hello")) << "everything is selected";
    type(QStringLiteral("Bye"));
    editorKey(Qt::Key_Return);
    EXPECT_EQ(onlyAnnotation().text, QStringLiteral("Bye"));
    EXPECT_EQ(undoCount(), before + 1);
    EXPECT_EQ(lastUndoName(), QStringLiteral("텍스트 편집"));
    doc().undo();
    EXPECT_EQ(onlyAnnotation(), hello);

    doc().select(hello.id);
    key(Qt::Key_Return);
    ASSERT_EQ(canvas().textSession().editingID(), hello.id) << "Return opens a selected text";
    type(QStringLiteral("Something else"));
    editorKey(Qt::Key_Escape);
    EXPECT_EQ(onlyAnnotation(), hello) << "Escape restores it";
    EXPECT_EQ(undoCount(), before);

    doubleClick(hello.frame.center());
    editorKey(Qt::Key_Backspace);
    editorKey(Qt::Key_Return);
    EXPECT_TRUE(annotations().empty());
    EXPECT_EQ(undoCount(), before + 1);
    EXPECT_EQ(lastUndoName(), QStringLiteral("삭제"));
    doc().undo();
    EXPECT_EQ(onlyAnnotation(), hello);
}

TEST_F(TextEditing, TextToolStartsANewTextOnAShapeButMovesTexts)
{
    const Annotation box = place(rectangleAt(Rect(100, 100, 300, 200), true));
    const Annotation hello = place(textAt({600, 300}, QStringLiteral("Hello")));
    startNewText();
    EXPECT_NE(canvas().textSession().editingID(), box.id);
    editorKey(Qt::Key_Escape);
    dragFrom(hello.frame.center(), hello.frame.center() + Vector(30, 10));
    EXPECT_EQ(textEditor(), nullptr);
    EXPECT_EQ(doc().annotation(hello.id)->frame, hello.frame.translated({30, 10}));
}

TEST_F(TextEditing, KoreanComposedThroughAnInputMethodLandsInTheText)
{
    startNewText();
    const QUuid id = *canvas().textSession().editingID();
    const auto compose = [&](const QString& preedit, const QString& commit = {}) {
        QInputMethodEvent event(preedit, {});
        event.setCommitString(commit);
        QApplication::sendEvent(textEditor(), &event);
    };
    compose(QStringLiteral("ㅎ"));
    compose(QStringLiteral("하"));
    compose(QStringLiteral("한"));
    EXPECT_EQ(doc().annotation(id)->text, QStringLiteral("한")) << "the box grows with the syllable being composed";
    compose({}, QStringLiteral("한"));
    compose(QStringLiteral("그"));
    compose(QStringLiteral("글"));
    // Clicking elsewhere while a syllable is still being composed commits it with the rest.
    doc().setTool(Tool::select);
    click({700, 500});
    EXPECT_EQ(textEditor(), nullptr);
    EXPECT_EQ(onlyAnnotation().text, QStringLiteral("한글"));
    EXPECT_EQ(undoCount(), 1u);
}

TEST_F(TextEditing, OnlyTextIsPasted)
{
    startNewText();
    type(QStringLiteral("ab"));
    auto* image = new QMimeData;
    image->setImageData(QImage(4, 4, QImage::Format_ARGB32));
    QGuiApplication::clipboard()->setMimeData(image);
    editorKey(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(textEditor()->toPlainText(), QStringLiteral("ab"));
    QGuiApplication::clipboard()->setText(QStringLiteral("cd"));
    editorKey(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(textEditor()->toPlainText(), QStringLiteral("abcd"));
}

} // namespace
} // namespace lumivex::test
