#pragma once

#include <QColor>
#include <QPlainTextEdit>
#include <QString>

namespace lumivex {

// The borderless, transparent, multi-line field in which a text box is edited in place. It never wraps or
// scrolls: the canvas sizes it to the text. Return asks to commit, Shift+Return or Alt+Return starts a new
// line, Escape asks to cancel. Text composed through an input method (Korean syllables, for example) is part of
// displayedText() while it is being composed, so the box grows with it.
class InlineTextEditor : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit InlineTextEditor(QWidget* parent = nullptr);

    // The committed text with the input method's composition inserted at the cursor.
    QString displayedText() const;
    const QString& composition() const { return m_composition; }
    // Hands any text still being composed to the document, as if the user had finished composing it.
    void commitComposition();

    void setTextColor(const QColor& color);
    void setPlaceholderColor(const QColor& color);
    // Keeps the first line at the top after a resize: the field is sized to its text and must never scroll.
    void resetScrolling();

Q_SIGNALS:
    void displayedTextChanged();
    void commitRequested();
    void cancelRequested();
    // Focus moved to something else in the same window (not a window switch or a popup).
    void focusLeft();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;

private:
    static bool startsNewLine(const QKeyEvent& event);

    QString m_composition;
};

} // namespace lumivex
