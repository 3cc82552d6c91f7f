#include "app/editor/InlineTextEditor.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethod>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTextDocument>

#include <algorithm>
#include <utility>

namespace lumivex {

InlineTextEditor::InlineTextEditor(QWidget* parent)
    : QPlainTextEdit(parent)
{
    setFrameShape(QFrame::NoFrame);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setWordWrapMode(QTextOption::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setContextMenuPolicy(Qt::NoContextMenu);
    // Files dropped on the editor window are opened, never typed into the box.
    setAcceptDrops(false);
    setAttribute(Qt::WA_InputMethodEnabled);
    setAutoFillBackground(false);
    viewport()->setAutoFillBackground(false);
    document()->setDocumentMargin(0);
    // The text starts two points in from the field's edge, which the canvas compensates when placing it.
    setViewportMargins(2, 0, 0, 0);

    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::transparent);
    colours.setColor(QPalette::Window, Qt::transparent);
    setPalette(colours);

    connect(this, &QPlainTextEdit::textChanged, this, &InlineTextEditor::displayedTextChanged);
}

QString InlineTextEditor::displayedText() const
{
    QString text = toPlainText();
    if (m_composition.isEmpty())
        return text;
    const int at = std::clamp(textCursor().position(), 0, int(text.size()));
    return text.insert(at, m_composition);
}

void InlineTextEditor::commitComposition()
{
    if (m_composition.isEmpty())
        return;
    if (hasFocus())
        QGuiApplication::inputMethod()->commit();
    // Input methods that ignore the request (or a field without focus) still must not lose the syllable the
    // user sees on screen.
    if (!m_composition.isEmpty()) {
        const QString pending = std::exchange(m_composition, {});
        QInputMethodEvent commit;
        commit.setCommitString(pending);
        QPlainTextEdit::inputMethodEvent(&commit);
    }
}

void InlineTextEditor::setTextColor(const QColor& color)
{
    QPalette colours = palette();
    colours.setColor(QPalette::Text, color);
    setPalette(colours);
}

void InlineTextEditor::setPlaceholderColor(const QColor& color)
{
    QPalette colours = palette();
    colours.setColor(QPalette::PlaceholderText, color);
    setPalette(colours);
}

void InlineTextEditor::resetScrolling()
{
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
}

bool InlineTextEditor::startsNewLine(const QKeyEvent& event)
{
    return event.modifiers() & (Qt::ShiftModifier | Qt::AltModifier);
}

void InlineTextEditor::keyPressEvent(QKeyEvent* event)
{
    const bool isReturn = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (isReturn && startsNewLine(*event)) {
        insertPlainText(QStringLiteral("\n"));
        event->accept();
        return;
    }
    if (isReturn) {
        event->accept();
        Q_EMIT commitRequested();
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        Q_EMIT cancelRequested();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        // Only plain text can be pasted into a text box; anything else is refused audibly.
        const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData();
        if (!clipboard || !clipboard->hasText()) {
            event->accept();
            QApplication::beep();
            return;
        }
    }
    QPlainTextEdit::keyPressEvent(event);
    resetScrolling();
}

void InlineTextEditor::inputMethodEvent(QInputMethodEvent* event)
{
    const QString before = m_composition;
    m_composition = event->preeditString();
    QPlainTextEdit::inputMethodEvent(event);
    resetScrolling();
    // A changed composition alone does not change the document, so textChanged would not tell anyone.
    if (m_composition != before && event->commitString().isEmpty())
        Q_EMIT displayedTextChanged();
}

void InlineTextEditor::focusOutEvent(QFocusEvent* event)
{
    QPlainTextEdit::focusOutEvent(event);
    // Switching to another window or opening a popup (an input method's candidate list) is not the end of
    // editing; the user comes back to the same field.
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        Q_EMIT focusLeft();
}

bool InlineTextEditor::canInsertFromMimeData(const QMimeData* source) const
{
    return source && source->hasText();
}

void InlineTextEditor::insertFromMimeData(const QMimeData* source)
{
    if (!source || !source->hasText()) {
        QApplication::beep();
        return;
    }
    insertPlainText(source->text());
    resetScrolling();
}

} // namespace lumivex
