#include "app/editor/EditorCommands.h"

#include "app/editor/CanvasTextSession.h"
#include "app/editor/CanvasView.h"
#include "app/editor/EditorWindow.h"
#include "core/document/EditorDocument.h"

#include <QAction>
#include <QKeySequence>

namespace lumivex {

// The texts are the window's: its translation context is where the translation tables have them.
EditorCommands::EditorCommands(EditorWindow& window, EditorDocument& document, CanvasView& canvas)
    : QObject(&window)
    , m_document(document)
{
    // Added to the window, the actions' keys work wherever the focus is inside it; the window owns them.
    const auto make = [&window](const QString& text, const QList<QKeySequence>& keys) {
        auto* action = new QAction(text, &window);
        action->setShortcuts(keys);
        window.addAction(action);
        return action;
    };
    m_undo = make(EditorWindow::tr("실행 취소"), {QKeySequence(Qt::CTRL | Qt::Key_Z)});
    m_redo = make(EditorWindow::tr("다시 실행"),
                  {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    m_copy = make(EditorWindow::tr("복사"),
                  {QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)});
    m_paste = make(EditorWindow::tr("붙여넣기"), {QKeySequence(Qt::CTRL | Qt::Key_V)});
    m_remove = make(EditorWindow::tr("삭제"), {QKeySequence(Qt::Key_Delete), QKeySequence(Qt::Key_Backspace)});
    m_selectAll = make(EditorWindow::tr("전체 선택"), {QKeySequence(Qt::CTRL | Qt::Key_A)});
    m_save = make(EditorWindow::tr("저장…"), {QKeySequence(Qt::CTRL | Qt::Key_S)});
    m_copyAllText = make(EditorWindow::tr("이미지 속 글자 모두 복사"), {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T)});

    connect(m_undo, &QAction::triggered, &document, &EditorDocument::undo);
    connect(m_redo, &QAction::triggered, &document, &EditorDocument::redo);
    connect(m_copy, &QAction::triggered, &window, &EditorWindow::copy);
    connect(m_paste, &QAction::triggered, &window, &EditorWindow::paste);
    connect(m_save, &QAction::triggered, &window, &EditorWindow::save);
    connect(m_copyAllText, &QAction::triggered, &window, [&window] { window.copyText(std::nullopt); });
    connect(m_remove, &QAction::triggered, &document, &EditorDocument::deleteSelected);
    // The picture has no "all" to select; the text being edited in place does.
    connect(m_selectAll, &QAction::triggered, &canvas, [&canvas] {
        if (InlineTextEditor* editor = canvas.textSession().editor())
            editor->selectAll();
    });

    connect(&document, &EditorDocument::undoStackChanged, this, &EditorCommands::refreshUndo);
    refreshUndo();
}

void EditorCommands::refreshUndo()
{
    const auto named = [](const QString& command, const QString& step) {
        return step.isEmpty() ? command : command + QLatin1Char(' ') + step;
    };
    m_undo->setEnabled(m_document.canUndo());
    m_undo->setText(named(EditorWindow::tr("실행 취소"), m_document.undoActionName()));
    m_redo->setEnabled(m_document.canRedo());
    m_redo->setText(named(EditorWindow::tr("다시 실행"), m_document.redoActionName()));
}

} // namespace lumivex
