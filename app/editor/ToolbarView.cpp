#include "app/editor/ToolbarView.h"

#include "app/design/Design.h"
#include "app/editor/IconButton.h"
#include "app/editor/ToolButton.h"
#include "app/editor/ToolGroup.h"
#include "core/document/EditorDocument.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace lumivex {

namespace {

// Group 2, in the order of the number keys 1 to 9.
constexpr Tool kDrawingTools[] = {Tool::text,    Tool::arrow,   Tool::blur, Tool::rectangle, Tool::filledRectangle,
                                  Tool::ellipse, Tool::polygon, Tool::crop, Tool::copyText};

} // namespace

QWidget* ToolbarView::titleBlock()
{
    auto* block = new QWidget;
    auto* column = new QVBoxLayout(block);
    column->setContentsMargins(6, 0, 6, 0);
    column->setSpacing(1);
    column->addStretch(1);
    m_title = new QLabel;
    m_title->setFont(Design::font(13, QFont::DemiBold));
    m_title->setAlignment(Qt::AlignCenter);
    m_subtitle = new QLabel;
    m_subtitle->setFont(Design::font(11));
    m_subtitle->setForegroundRole(QPalette::PlaceholderText);
    m_subtitle->setAlignment(Qt::AlignCenter);
    m_subtitle->hide();
    m_subtitle->installEventFilter(this);
    for (QLabel* label : {m_title, m_subtitle}) {
        label->setMinimumWidth(0);
        label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        column->addWidget(label);
    }
    column->addStretch(1);
    return block;
}

ToolbarView::ToolbarView(EditorDocument& document, Actions actions, QWidget* parent)
    : QWidget(parent)
    , m_doc(document)
    , m_actions(std::move(actions))
{
    setFixedHeight(height);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(14, 0, 14, 0);
    row->setSpacing(10);

    auto* selectGroup = new ToolGroup;
    m_tools[Tool::select] = new ToolButton(m_doc, Tool::select);
    selectGroup->add(m_tools[Tool::select]);
    row->addWidget(selectGroup);

    auto* drawingGroup = new ToolGroup;
    for (const Tool tool : kDrawingTools) {
        m_tools[tool] = new ToolButton(m_doc, tool);
        drawingGroup->add(m_tools[tool]);
    }
    row->addWidget(drawingGroup);

    m_stickerGroup = new ToolGroup;
    m_stickers = new IconButton(QStringLiteral("smile"), tr("스티커 (이모지 / 내 이미지)"));
    connect(m_stickers, &QAbstractButton::clicked, this, [this] {
        if (m_actions.onToggleStickers)
            m_actions.onToggleStickers();
    });
    m_stickerGroup->add(m_stickers);
    row->addWidget(m_stickerGroup);
    row->addWidget(titleBlock(), 1);

    m_lock = new IconButton(QStringLiteral("lock"), lockHelp(m_doc.stickyTool()));
    m_lock->setToggle(true);
    connect(m_lock, &QAbstractButton::clicked, this, [this] { m_doc.setStickyTool(!m_doc.stickyTool()); });
    connect(&m_doc, &EditorDocument::stickyToolChanged, this, &ToolbarView::refreshLock);
    refreshLock();
    row->addWidget(m_lock);

    m_copyText = command(QStringLiteral("text-lines"), tr("이미지 속 글자를 모두 복사 (Ctrl+Shift+T)"), m_actions.onCopyText);
    m_history = command(QStringLiteral("history"), tr("복사한 텍스트 기록 · 편집"), m_actions.onToggleHistory);
    m_copy = command(QStringLiteral("copy"), tr("클립보드로 복사 (Ctrl+C 또는 Ctrl+Shift+C)"), m_actions.onCopy);
    m_save = command(QStringLiteral("download"), tr("파일로 저장 (Ctrl+S)"), m_actions.onSave);
    for (IconButton* button : {m_copyText, m_history, m_copy, m_save})
        row->addWidget(button);
}

IconButton* ToolbarView::command(const QString& icon, const QString& help, const std::function<void()>& action)
{
    auto* button = new IconButton(icon, help);
    connect(button, &QAbstractButton::clicked, this, [action] {
        if (action)
            action();
    });
    return button;
}

void ToolbarView::setTitle(const QString& title)
{
    m_title->setText(title);
    m_title->setToolTip(title);
}

void ToolbarView::setSubtitle(const QString& subtitle)
{
    m_subtitleText = subtitle;
    m_subtitle->setVisible(!subtitle.isEmpty());
    m_subtitle->setToolTip(subtitle);
    elideSubtitle();
}

QString ToolbarView::subtitle() const
{
    return m_subtitleText;
}

void ToolbarView::elideSubtitle()
{
    // A long message is shortened in the middle on a narrow window; the tooltip keeps it whole.
    m_subtitle->setText(m_subtitle->fontMetrics().elidedText(m_subtitleText, Qt::ElideMiddle, m_subtitle->width()));
}

bool ToolbarView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_subtitle && event->type() == QEvent::Resize)
        elideSubtitle();
    return QWidget::eventFilter(watched, event);
}

void ToolbarView::addToStickerGroup(QWidget* button)
{
    m_stickerGroup->add(button);
}

QString ToolbarView::lockHelp(bool on)
{
    return on ? tr("도구 유지 (켜짐): 하나 그린 뒤에도 같은 도구를 계속 사용. 끄면 하나 그리고 선택 도구로 돌아갑니다. Esc = 선택 도구")
              : tr("도구 유지 (꺼짐): 하나 그린 뒤에도 같은 도구를 계속 사용. 끄면 하나 그리고 선택 도구로 돌아갑니다. Esc = 선택 도구");
}

void ToolbarView::refreshLock()
{
    m_lock->setSelected(m_doc.stickyTool());
    m_lock->setHelp(lockHelp(m_doc.stickyTool()));
}

void ToolbarView::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), Design::color(Design::Token::chrome));
}

} // namespace lumivex
