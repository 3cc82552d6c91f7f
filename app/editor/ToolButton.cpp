#include "app/editor/ToolButton.h"

#include "core/document/EditorDocument.h"

namespace lumivex {

ToolButton::ToolButton(EditorDocument& document, Tool tool, QWidget* parent)
    : IconButton(Tools::designIcon(tool), helpText(tool), parent)
    , m_doc(document)
    , m_tool(tool)
{
    connect(this, &QAbstractButton::clicked, this, [this] { m_doc.setTool(m_tool); });
    connect(&m_doc, &EditorDocument::toolChanged, this, &ToolButton::refresh);
    refresh();
}

QString ToolButton::helpText(Tool tool)
{
    return Tools::title(tool) + QStringLiteral(" (") + Tools::shortcutHint(tool) + QLatin1Char(')');
}

void ToolButton::refresh()
{
    setSelected(m_doc.tool() == m_tool);
}

} // namespace lumivex
