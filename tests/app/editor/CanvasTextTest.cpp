// Text boxes created and edited in place, including text typed through an input method.
#include "CanvasFixture.h"

#include "app/editor/InlineTextEditor.h"
#include "core/model/Tool.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QMimeData>

namespace lumivex::test {
namespace {

class TextEditing : public CanvasFixture {
protected:
    void type(const QString& text) { QTest::keyClicks(textEditor(), text); }
    void editorKey(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(textEditor(), key, modifiers); }
    // What an input method sends while composing, then when the syllable is done.
    void compose(const QString& preedit)
    {
        QInputMethodEvent event(preedit, {});
        QApplication::sendEvent(textEditor(), &event);
    }
    void commitComposed(const QString& text)
    {
        QInputMethodEvent event;
        event.setCommitString(text);
        QApplication::sendEvent(textEditor(), &event);
    }
};

TEST_F(TextEditing, NewTextIsTypedLiveAndCommittedAsOneStep)
{
    doc().setTool(Tool::text);
    click({200, 200});
    ASSERT_NE(textEditor(), nullptr);
    const QUuid id = *canvas().textSession().editingID();
    EXPECT_TRUE(canvas().textSession().glyphHiddenIDs().contains(id));

    type(QStringLiteral("Hello"));
    EXPECT_EQ(doc().annotation(id)->text, QStringLiteral("Hello")) << "the document follows each keystroke";
    EXPECT_EQ(undoCount(), 0u);

    editorKey(Qt::Key_Return);
    EXPECT_EQ(textEditor(), nullptr);
    EXPECT_TRUE(canvas().textSession().glyphHiddenIDs().isEmpty());
    const Annotation text = onlyAnnotation();
    EXPECT_EQ(text.text, QStringLiteral("Hello"));
    EXPECT_DOUBLE_EQ(text.frame.x, 200) << "the box starts where the user clicked";
    EXPECT_EQ(undoCount(), 1u);
    EXPECT_EQ(lastUndoName(), QStringLiteral("추가"));
}

TEST_F(TextEditing, ShiftReturnStartsANewLine)
{
    doc().setTool(Tool::text);
    click({200, 200});
    type(QStringLiteral("A"));
    editorKey(Qt::Key_Return, Qt::ShiftModifier);
    type(QStringLiteral("B"));
    editorKey(Qt::Key_Return);
    EXPECT_EQ(onlyAnnotation().text, QStringLiteral("A\nB"));
}

TEST_F(TextEditing, EmptyOrBlankNewTextLeavesNothing)
{
    doc().setTool(Tool::text);
    for (const QString& blank : {QString(), QStringLiteral("   "), QStringLiteral(" \n ")}) {
        click({200, 200});
        ASSERT_NE(textEditor(), nullptr);
        textEditor()->setPlainText(blank);
        editorKey(Qt::Key_Return);
        EXPECT_TRUE(annotations().empty());
        EXPECT_EQ(undoCount(), 0u);
        EXPECT_FALSE(doc().isInteracting());
    }
}

TEST_F(TextEditing, EscapeDropsANewText)
{
    doc().setTool(Tool::text);
    click({200, 200});
    type(QStringLiteral("Hello"));
    editorKey(Qt::Key_Escape);
    EXPECT_TRUE(annotations().empty());
    EXPECT_EQ(undoCount(), 0u);
}

TEST_F(TextEditing, DoubleClickEditsAnExistingTextWithEverythingSelected)
{
    const Annotation hello = place(textAt(Rect(200, 200, 0, 0), QStringLiteral("Hello")));
    const std::size_t before = undoCount();
    doubleClick(hello.frame.center());
    ASSERT_NE(textEditor(), nullptr);
    EXPECT_EQ(textEditor()->textCursor().selectedText(), QStringLiteral("Hello"));

    type(QStringLiteral("Bye"));
    editorKey(Qt::Key_Return);
    EXPECT_EQ(onlyAnnotation().text, QStringLiteral("Bye"));
    EXPECT_EQ(undoCount(), before + 1);
    EXPECT_EQ(lastUndoName(), QStringLiteral("텍스트 편집"));
    doc().undo();
    EXPECT_EQ(onlyAnnotation().text, QStringLiteral("Hello"));
}

TEST_F(TextEditing, EmptyingAnExistingTextDeletesItAsOneStep)
{
    const Annotation hello = place(textAt(Rect(200, 200, 0, 0), QStringLiteral("Hello")));
    const std::size_t before = undoCount();
    doubleClick(hello.frame.center());
    editorKey(Qt::Key_Backspace);
    editorKey(Qt::Key_Return);
    EXPECT_TRUE(annotations().empty());
    EXPECT_EQ(undoCount(), before + 1);
    EXPECT_EQ(lastUndoName(), QStringLiteral("삭제"));
    doc().undo();
    EXPECT_EQ(onlyAnnotation(), hello);
}

TEST_F(TextEditing, EscapeRestoresAnEditedText)
{
    const Annotation hello = place(textAt(Rect(200, 200, 0, 0), QStringLiteral("Hello")));
    const std::size_t before = undoCount();
    doubleClick(hello.frame.center());
    type(QStringLiteral("Something else"));
    editorKey(Qt::Key_Escape);
    EXPECT_EQ(onlyAnnotation(), hello);
    EXPECT_EQ(undoCount(), before);
}

TEST_F(TextEditing, ReturnOnASelectedTextOpensTheEditor)
{
    const Annotation hello = place(textAt(Rect(200, 200, 0, 0), QStringLiteral("Hello")));
    doc().select(hello.id);
    key(Qt::Key_Return);
    ASSERT_NE(textEditor(), nullptr);
    EXPECT_EQ(canvas().textSession().editingID(), hello.id);
}

TEST_F(TextEditing, ClickingTheCanvasCommits)
{
    doc().setTool(Tool::text);
    click({200, 200});
    type(QStringLiteral("Hello"));
    doc().setTool(Tool::select);
    click({700, 500});
    EXPECT_EQ(textEditor(), nullptr);
    EXPECT_EQ(onlyAnnotation().text, QStringLiteral("Hello"));
    EXPECT_EQ(undoCount(), 1u);
}

TEST_F(TextEditing, TextToolStartsANewTextOnAShapeButPicksUpTexts)
{
    const Annotation box = place(rectangleAt(Rect(100, 100, 300, 200), true));
    const Annotation hello = place(textAt(Rect(600, 300, 0, 0), QStringLiteral("Hello")));
    doc().setTool(Tool::text);

    click({200, 200});
    ASSERT_NE(textEditor(), nullptr) << "a click on a rectangle starts a new text";
    EXPECT_NE(canvas().textSession().editingID(), box.id);
    editorKey(Qt::Key_Escape);

    const Point centre = hello.frame.center();
    dragFrom(centre, centre + Vector(30, 10));
    EXPECT_EQ(textEditor(), nullptr) << "a single click on a text selects and moves it";
    EXPECT_EQ(doc().annotation(hello.id)->frame, hello.frame.translated({30, 10}));
}

TEST_F(TextEditing, KoreanComposedThroughAnInputMethodLandsInTheText)
{
    doc().setTool(Tool::text);
    click({200, 200});
    const QUuid id = *canvas().textSession().editingID();
    compose(QStringLiteral("ㅎ"));
    compose(QStringLiteral("하"));
    compose(QStringLiteral("한"));
    EXPECT_EQ(doc().annotation(id)->text, QStringLiteral("한")) << "the box grows with the syllable being composed";
    commitComposed(QStringLiteral("한"));
    compose(QStringLiteral("그"));
    compose(QStringLiteral("글"));
    // Clicking elsewhere while a syllable is still being composed keeps it.
    doc().setTool(Tool::select);
    click({700, 500});
    EXPECT_EQ(onlyAnnotation().text, QStringLiteral("한글"));
    EXPECT_EQ(undoCount(), 1u);
}

TEST_F(TextEditing, PastingSomethingOtherThanTextIsRefused)
{
    doc().setTool(Tool::text);
    click({200, 200});
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
