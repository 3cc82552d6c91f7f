#include "app/editor/TextHistoryView.h"

#include "app/design/Appearance.h"
#include "app/design/Design.h"
#include "app/design/DesignButton.h"
#include "app/editor/InspectorSection.h"
#include "app/editor/TextBannerRules.h"
#include "core/history/TextHistory.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace lumivex {

namespace {

// A row shows the start of the text on one line.
QString rowTitle(const QString& text)
{
    QString line = text.simplified();
    return line.size() > 60 ? line.left(60) + QStringLiteral("…") : line;
}

} // namespace

TextHistoryView::TextHistoryView(TextHistory& history, std::optional<QString> latest,
                                 std::function<void(const QString&, const std::optional<QUuid>&)> onCopy,
                                 QWidget* parent)
    : QWidget(parent, Qt::Popup)
    , m_history(history)
    , m_onCopy(std::move(onCopy))
    , m_list(new QListWidget)
    , m_empty(InspectorSection::hint(tr("복사한 텍스트가 아직 없습니다. 텍스트 추출로 글자를 복사하면 여기에 쌓입니다.")))
    , m_editor(new QPlainTextEdit)
    , m_count(new QLabel)
    , m_delete(new DesignButton(tr("삭제"), DesignButton::Kind::destructive))
    , m_copy(new DesignButton(tr("복사"), DesignButton::Kind::primary))
    , m_clear(new DesignButton(tr("모두 지우기")))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_WindowPropagation);
    setFixedSize(popoverSize);
    Appearance::instance().style(this);
    setAutoFillBackground(true);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(12, 12, 12, 12);
    row->setSpacing(12);

    auto* left = new QVBoxLayout;
    left->setSpacing(8);
    m_list->setFont(Design::font(12));
    m_list->setFixedWidth(200);
    m_empty->setWordWrap(true);
    m_empty->setFixedWidth(200);
    left->addWidget(m_list, 1);
    left->addWidget(m_empty, 1);
    left->addWidget(m_clear);
    row->addLayout(left);

    auto* right = new QVBoxLayout;
    right->setSpacing(8);
    m_editor->setFont(Design::font(13));
    right->addWidget(m_editor, 1);
    auto* buttons = new QHBoxLayout;
    m_count->setFont(Design::font(12));
    m_count->setForegroundRole(QPalette::PlaceholderText);
    buttons->addWidget(m_count, 1);
    buttons->addWidget(m_delete);
    buttons->addWidget(m_copy);
    right->addLayout(buttons);
    right->addWidget(InspectorSection::hint(tr("고친 내용은 클립보드와 기록에만 반영되고 이미지는 바뀌지 않습니다.")));
    row->addLayout(right, 1);

    connect(m_list, &QListWidget::currentRowChanged, this, [this](int index) {
        if (m_rebuilding || index < 0 || index >= int(m_history.entries().size()))
            return;
        select(m_history.entries()[std::size_t(index)].id);
    });
    connect(m_editor, &QPlainTextEdit::textChanged, this, &TextHistoryView::refreshCount);
    connect(m_clear, &QAbstractButton::clicked, this, [this] { m_history.clear(); });
    connect(m_delete, &QAbstractButton::clicked, this, [this] {
        if (m_selection)
            m_history.remove(*m_selection);
    });
    connect(m_copy, &QAbstractButton::clicked, this, [this] {
        if (m_onCopy)
            m_onCopy(draft(), m_selection);
    });
    connect(&m_history, &TextHistory::entriesChanged, this, &TextHistoryView::rebuild);

    // The text copied last is chosen when the history has it, else the newest entry.
    const auto& entries = m_history.entries();
    const auto copied = std::find_if(entries.begin(), entries.end(),
                                     [&](const TextHistory::Entry& e) { return latest && e.text == *latest; });
    if (copied != entries.end())
        m_selection = copied->id;
    else if (!entries.empty())
        m_selection = entries.front().id;
    rebuild();
    select(m_selection);
}

void TextHistoryView::rebuild()
{
    m_rebuilding = true;
    const auto& entries = m_history.entries();
    m_list->clear();
    int selectedRow = -1;
    for (int i = 0; i < int(entries.size()); ++i) {
        m_list->addItem(rowTitle(entries[std::size_t(i)].text));
        if (m_selection && entries[std::size_t(i)].id == *m_selection)
            selectedRow = i;
    }
    m_list->setCurrentRow(selectedRow);
    m_list->setVisible(!entries.empty());
    m_empty->setVisible(entries.empty());
    m_rebuilding = false;
    // A deleted (or cleared) entry leaves the editor to the newest remaining one.
    if (m_selection && selectedRow < 0)
        select(entries.empty() ? std::nullopt : std::optional(entries.front().id));
    m_delete->setEnabled(m_selection.has_value());
}

void TextHistoryView::select(const std::optional<QUuid>& id)
{
    const auto& entries = m_history.entries();
    const auto found = std::find_if(entries.begin(), entries.end(),
                                    [&](const TextHistory::Entry& e) { return id && e.id == *id; });
    m_selection = found == entries.end() ? std::nullopt : std::optional(found->id);
    m_rebuilding = true;
    m_list->setCurrentRow(found == entries.end() ? -1 : int(found - entries.begin()));
    m_rebuilding = false;
    m_editor->setPlainText(found == entries.end() ? QString() : found->text);
    m_delete->setEnabled(m_selection.has_value());
}

QString TextHistoryView::draft() const
{
    return m_editor->toPlainText();
}

void TextHistoryView::setDraft(const QString& text)
{
    m_editor->setPlainText(text);
}

void TextHistoryView::refreshCount()
{
    m_count->setText(tr("%1자").arg(TextBannerRules::visibleCharacterCount(draft())));
}

} // namespace lumivex
