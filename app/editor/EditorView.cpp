#include "app/editor/EditorView.h"

#include "app/design/Design.h"
#include "app/design/Hairline.h"
#include "app/editor/CanvasArea.h"
#include "app/editor/CanvasView.h"
#include "app/editor/DropHelper.h"
#include "app/editor/InspectorView.h"
#include "app/editor/FaceCoverButton.h"
#include "app/editor/StickerPickerView.h"
#include "app/editor/TextBanner.h"
#include "app/editor/TextBannerRules.h"
#include "app/editor/ToolbarView.h"
#include "core/document/EditorDocument.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QMimeData>
#include <QPainter>
#include <QVBoxLayout>

namespace lumivex {

EditorView::EditorView(EditorDocument& document, Callbacks callbacks, Scheduler& scheduler, EditorStores stores,
                       QWidget* parent)
    : QWidget(parent)
    , m_doc(document)
    , m_callbacks(std::move(callbacks))
    , m_scheduler(scheduler)
    , m_stores(stores)
    , m_banners(new TextBannerRules(scheduler, this))
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
    actions.onToggleStickers = [this] { toggleStickers(); };
    m_toolbar = new ToolbarView(m_doc, actions);
    m_toolbar->setTitle(m_doc.name());
    m_faceCover = new FaceCoverButton(m_stores, [this](const FaceCover& cover) {
        if (m_callbacks.onCoverFaces)
            m_callbacks.onCoverFaces(cover);
    });
    m_toolbar->addToStickerGroup(m_faceCover);

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

    connect(m_banners, &TextBannerRules::changed, this, &EditorView::refreshBanner);
}

void EditorView::toggleStickers()
{
    if (m_stickerPicker) {
        m_stickerPicker->close();
        return;
    }
    EditorDocument& doc = m_doc;
    m_stickerPicker = new StickerPickerView(m_stores.stickerLibrary(), m_stores.stickerRecents(),
                                            [&doc](const StickerSource& source) { doc.addSticker(source); }, this);
    const QWidget* anchor = m_toolbar->stickerButton();
    m_stickerPicker->move(anchor->mapToGlobal(QPoint(0, anchor->height() + 6)));
    m_stickerPicker->show();
}

void EditorView::refreshBanner()
{
    const auto choice = m_banners->choice();
    TextBanner* shown = m_canvasArea->banner();
    if (!choice) {
        m_canvasArea->setBanner(nullptr);
        return;
    }
    if (shown && shown->kind() == choice->kind) {
        shown->setCharacterCount(choice->characterCount);
        return;
    }
    if (choice->kind == TextBanner::Kind::textFound) {
        m_canvasArea->setBanner(TextBanner::textFound(
            choice->characterCount,
            [this] {
                m_banners->hideFound();
                if (m_callbacks.onCopyText)
                    m_callbacks.onCopyText(std::nullopt);
            },
            [this] { m_banners->hideFound(); }));
    } else {
        m_canvasArea->setBanner(TextBanner::copiedText(
            choice->characterCount, [this] { showTextHistory(); }, [this] { m_banners->hideCopied(); }));
    }
}

void EditorView::showTextHistory()
{
    m_banners->setHistoryOpen(true);
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
