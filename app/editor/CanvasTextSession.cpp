#include "app/editor/CanvasTextSession.h"

#include "app/editor/InlineTextEditor.h"
#include "core/document/EditorDocument.h"
#include "core/document/UndoActionNames.h"
#include "core/model/TextLayout.h"
#include "core/model/TextPlaceholder.h"
#include "core/render/Renderer.h"

#include <QApplication>
#include <QInputMethod>
#include <QLocale>
#include <QTextDocument>
#include <QWidget>

#include <algorithm>

namespace lumivex {

CanvasTextSession::CanvasTextSession(EditorDocument& document, QWidget& canvas, TransformSource transform)
    : QObject(&canvas)
    , m_doc(document)
    , m_canvas(canvas)
    , m_transform(std::move(transform))
{
}

CanvasTextSession::~CanvasTextSession()
{
    disconnect(m_inputSourceObserver);
}

QString CanvasTextSession::currentPlaceholder()
{
    // The input method's language stands for the keyboard input source; its English language name ("Korean")
    // is what marks a Korean source.
    const QLocale language = QGuiApplication::inputMethod()->locale();
    const QString source = QLocale::languageToString(language.language()) + QLatin1Char(':') + language.name();
    return TextPlaceholder::sample(source);
}

void CanvasTextSession::begin(const QUuid& id, bool isNew)
{
    const auto text = m_doc.annotation(id);
    if (!text)
        return;
    if (!isNew)
        m_doc.beginInteraction();
    m_editingID = id;
    m_editingIsNew = isNew;
    m_glyphHiddenIDs = {id};

    auto* editor = new InlineTextEditor(&m_canvas);
    m_editor = editor;
    editor->setPlainText(text->text);
    connect(editor, &InlineTextEditor::displayedTextChanged, this, &CanvasTextSession::textChanged);
    connect(editor, &InlineTextEditor::commitRequested, this, [this] { finish(true); });
    connect(editor, &InlineTextEditor::cancelRequested, this, [this] { finish(false); });
    connect(editor, &InlineTextEditor::focusLeft, this, [this] { finish(true); });
    position(*editor, *text);
    editor->show();
    editor->setFocus(Qt::OtherFocusReason);
    editor->selectAll();
    m_inputSourceObserver = connect(QGuiApplication::inputMethod(), &QInputMethod::localeChanged, this,
                                    &CanvasTextSession::reposition);
}

void CanvasTextSession::finish(bool commit)
{
    if (!m_editor || !m_editingID)
        return;
    InlineTextEditor* editor = m_editor;
    if (commit)
        editor->commitComposition();
    const QString text = editor->toPlainText();
    const QUuid id = *m_editingID;
    const bool wasNew = m_editingIsNew;
    const bool editorHadFocus = editor->hasFocus();

    m_editor = nullptr;
    m_editingID.reset();
    m_glyphHiddenIDs.clear();
    disconnect(m_inputSourceObserver);
    editor->disconnect(this);
    editor->hide();
    editor->deleteLater();

    if (!commit)
        m_doc.cancelInteraction();
    else
        record(id, text, wasNew);
    // Take the keyboard back, unless the user just gave it to another control (a field in a side panel).
    const QWidget* focused = QApplication::focusWidget();
    Q_EMIT finished(editorHadFocus || !focused || focused == &m_canvas);
}

void CanvasTextSession::record(const QUuid& id, const QString& text, bool wasNew)
{
    if (text.trimmed().isEmpty()) {
        if (wasNew) {
            m_doc.cancelInteraction();
        } else {
            m_doc.removeTransient(id);
            m_doc.endInteraction(UndoActionNames::remove());
        }
        return;
    }
    // The document follows every keystroke already; this only makes sure the last one is not missed.
    m_doc.modify(id, [&](Annotation& a) {
        if (a.text != text) {
            a.text = text;
            a.refreshTextFrame(false);
        }
    });
    m_doc.endInteraction(wasNew ? UndoActionNames::add() : UndoActionNames::editText());
    if (wasNew && !m_doc.stickyTool())
        m_doc.setTool(Tool::select);
}

void CanvasTextSession::textChanged()
{
    if (!m_editor || !m_editingID)
        return;
    const QString text = m_editor->displayedText();
    m_doc.modify(*m_editingID, [&](Annotation& a) {
        a.text = text;
        a.refreshTextFrame(false);
    });
    reposition();
}

void CanvasTextSession::reposition()
{
    if (!m_editor || !m_editingID)
        return;
    if (const auto text = m_doc.annotation(*m_editingID))
        position(*m_editor, *text);
}

void CanvasTextSession::position(InlineTextEditor& editor, const Annotation& annotation)
{
    const CanvasTransform t = m_transform();
    const double scale = t.scale;
    // The field shows the text exactly where the renderer draws it.
    const Rect glyphs = Renderer::textRect(annotation);
    const QFont font = TextLayout::font(annotation.fontSize * scale, annotation.bold);
    if (editor.font() != font) {
        editor.setFont(font);
        editor.document()->setDefaultFont(font);
    }
    editor.setTextColor(annotation.strokeColor.withAlpha(1).toQColor());
    editor.setPlaceholderColor(annotation.strokeColor.withAlpha(0.45).toQColor());
    editor.setPlaceholderText(currentPlaceholder());

    const QPointF topLeft = t.toView(glyphs.origin());
    const double width = std::max(glyphs.width * scale + 24, 40.0);
    const double height = glyphs.height * scale;
    // A little room below the last line keeps rounding from ever scrolling the first line out of view.
    editor.setGeometry(QRectF(topLeft.x() - 2, topLeft.y(), width, height + 4).toAlignedRect());
    editor.resetScrolling();
}

} // namespace lumivex
