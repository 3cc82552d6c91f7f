#pragma once

#include "app/editor/IconButton.h"
#include "core/model/Tool.h"

namespace lumivex {

class EditorDocument;

// Chooses one tool of the document; shown selected while the document's tool is that tool. The help text names
// the tool and its keys: "화살표 (A, 2)".
class ToolButton : public IconButton {
    Q_OBJECT

public:
    ToolButton(EditorDocument& document, Tool tool, QWidget* parent = nullptr);

    Tool tool() const { return m_tool; }
    static QString helpText(Tool tool);

private:
    void refresh();

    EditorDocument& m_doc;
    Tool m_tool;
};

} // namespace lumivex
