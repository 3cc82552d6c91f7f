#pragma once

#include <QObject>

class QAction;

namespace lumivex {

class CanvasView;
class EditorDocument;
class EditorWindow;

// The editor window's commands as actions, created once and owned by the window. Menus, toolbar buttons and
// keys all trigger these same actions, so they can never disagree about what a key does. The canvas handles
// gestures only; while a gesture needs a key (the polygon being drafted, a drag in progress) it claims that
// key before any action sees it, and the inline text field claims its own editing keys the same way.
class EditorCommands : public QObject {
    Q_OBJECT

public:
    EditorCommands(EditorWindow& window, EditorDocument& document, CanvasView& canvas);

    QAction* undo() const { return m_undo; }
    QAction* redo() const { return m_redo; }
    QAction* copy() const { return m_copy; }
    QAction* paste() const { return m_paste; }
    QAction* remove() const { return m_remove; }
    QAction* selectAll() const { return m_selectAll; }
    QAction* save() const { return m_save; }
    QAction* copyAllText() const { return m_copyAllText; }

private:
    void refreshUndo();

    EditorDocument& m_document;
    QAction* m_undo;
    QAction* m_redo;
    QAction* m_copy;
    QAction* m_paste;
    QAction* m_remove;
    QAction* m_selectAll;
    QAction* m_save;
    QAction* m_copyAllText;
};

} // namespace lumivex
