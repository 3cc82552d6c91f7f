#include "core/document/UndoStack.h"

#include <utility>

namespace lumivex {

void UndoStack::registerStep(EditorState snapshot, QString name)
{
    Step step{std::move(snapshot), std::move(name)};
    switch (m_phase) {
    case Phase::undoing:
        m_redo.push_back(std::move(step));
        break;
    case Phase::redoing:
        m_undo.push_back(std::move(step));
        break;
    case Phase::idle:
        m_undo.push_back(std::move(step));
        m_redo.clear();
        break;
    }
}

QString UndoStack::undoActionName() const { return m_undo.empty() ? QString() : m_undo.back().name; }

QString UndoStack::redoActionName() const { return m_redo.empty() ? QString() : m_redo.back().name; }

bool UndoStack::undo(const StepHandler& handler) { return run(m_undo, Phase::undoing, handler); }

bool UndoStack::redo(const StepHandler& handler) { return run(m_redo, Phase::redoing, handler); }

bool UndoStack::run(std::vector<Step>& from, Phase phase, const StepHandler& handler)
{
    // A handler that itself asks for an undo would interleave two steps; the first one finishes first.
    if (from.empty() || m_phase != Phase::idle)
        return false;
    Step step = std::move(from.back());
    from.pop_back();
    struct PhaseGuard {
        Phase& phase;
        ~PhaseGuard() { phase = Phase::idle; }
    } guard{m_phase};
    m_phase = phase;
    handler(std::move(step));
    return true;
}

void UndoStack::clear()
{
    m_undo.clear();
    m_redo.clear();
}

} // namespace lumivex
