#include "app/editor/EditorView.h"

#include "app/design/Design.h"
#include "app/design/Hairline.h"
#include "app/editor/CanvasArea.h"
#include "app/editor/CanvasView.h"
#include "app/editor/DropHelper.h"
#include "app/editor/InspectorView.h"
#include "app/editor/TextBanner.h"
#include "app/editor/ToolbarView.h"
#include "core/document/EditorDocument.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QMimeData>
#include <QPainter>
#include <QVBoxLayout>

namespace lumivex {

EditorView::EditorView(EditorDocument& document, Callbacks callbacks, Scheduler& scheduler, QWidget* parent)
    : QWidget(parent)
    , m_doc(document)
    , m_callbacks(std::move(callbacks))
    , m_scheduler(scheduler)
{
    setAcceptDrops(true);
    const auto copyWholeText = [this] {
        if (m_callbacks.onCopyText)
            m_callbacks.onCopyText(std::nullopt);
    };
    ToolbarView::Actions actions;
    actions.onSave = [this] {
        if (m_callbacks.onSave)
            m_callbacks.onSave();
    };
    actions.onCopy = [this] {
        if (m_callbacks.onCopy)
            m_callbacks.onCopy();
    };
    actions.onCopyText = copyWholeText;
    m_toolbar = new ToolbarView(m_doc, actions);
    m_toolbar->setTitle(m_doc.name());

    auto* canvas = new CanvasView(m_doc, [this](const Rect& region) {
        if (m_callbacks.onCopyText)
            m_callbacks.onCopyText(region);
    });
    m_canvasArea = new CanvasArea(canvas);
    m_inspector = new InspectorView(m_doc, copyWholeText);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(m_toolbar);
    column->addWidget(new Hairline);
    auto* row = new QHBoxLayout;
    row->setSpacing(0);
    row->addWidget(m_canvasArea, 1);
    row->addWidget(makeVHairline());
    row->addWidget(m_inspector);
    column->addLayout(row, 1);
}

CanvasView* EditorView::canvas() const
{
    return m_canvasArea->canvas();
}

TextBanner* EditorView::banner() const
{
    return m_canvasArea->banner();
}

void EditorView::setSubtitle(const QString& subtitle)
{
    m_toolbar->setSubtitle(subtitle);
}

QString EditorView::subtitle() const
{
    return m_toolbar->subtitle();
}

void EditorView::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), Design::color(Design::Token::windowBackground));
}

void EditorView::dragEnterEvent(QDragEnterEvent* event)
{
    if (!DropHelper::fileUrls(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void EditorView::dragMoveEvent(QDragMoveEvent* event)
{
    if (!DropHelper::fileUrls(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void EditorView::dropEvent(QDropEvent* event)
{
    const QList<QUrl> files = DropHelper::fileUrls(event->mimeData());
    event->acceptProposedAction();
    if (!files.isEmpty() && m_callbacks.onDropURLs)
        m_callbacks.onDropURLs(files);
}

} // namespace lumivex
