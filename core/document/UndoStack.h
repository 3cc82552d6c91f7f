#pragma once

#include "core/document/EditorState.h"

#include <QString>

#include <cstddef>
#include <functional>
#include <vector>

namespace lumivex {

// A history of whole-state snapshots, each with the (localised) name of the action it undoes.
//
// It follows the rules of a classic undo manager: a step registered while an undo runs becomes the redo
// step, one registered while a redo runs becomes the undo step again, and any other new step clears the
// redo history. The handler that runs a step is expected to register the reverse step, which is how undo
// and redo keep the same name. Plain C++: the document turns its changes into signals.
class UndoStack {
public:
    struct Step {
        EditorState snapshot;
        QString name;
    };
    using StepHandler = std::function<void(Step&&)>;

    void registerStep(EditorState snapshot, QString name);

    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    // Empty when there is nothing to undo or redo.
    QString undoActionName() const;
    QString redoActionName() const;

    // Pop the newest step and run it through handler; false (and nothing run) when there is none.
    bool undo(const StepHandler& handler);
    bool redo(const StepHandler& handler);

    bool isUndoing() const { return m_phase == Phase::undoing; }
    bool isRedoing() const { return m_phase == Phase::redoing; }

    // Oldest first; the last entry is the next one to undo (or redo).
    const std::vector<Step>& undoSteps() const { return m_undo; }
    const std::vector<Step>& redoSteps() const { return m_redo; }

    void clear();

private:
    enum class Phase { idle, undoing, redoing };
    bool run(std::vector<Step>& from, Phase phase, const StepHandler& handler);

    std::vector<Step> m_undo;
    std::vector<Step> m_redo;
    Phase m_phase = Phase::idle;
};

} // namespace lumivex
