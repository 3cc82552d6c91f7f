#include "app/editor/StickerPickerView.h"

#include "app/design/Appearance.h"
#include "app/design/Design.h"
#include "app/design/DesignButton.h"
#include "app/design/DesignSegmented.h"
#include "app/editor/IconButton.h"
#include "app/editor/InspectorSection.h"
#include "app/editor/StickerCell.h"
#include "core/render/ImageLoading.h"
#include "core/stickers/EmojiCatalog.h"
#include "core/stickers/StickerLibrary.h"
#include "core/stickers/StickerRecents.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>
#include <map>

namespace lumivex {

namespace {

constexpr int kEmojiColumns = 7;
constexpr int kEmojiCell = 40;
constexpr int kImageColumns = 4;
constexpr int kImageCell = 70;

// The catalogue names its category pictures; these are our icons of the same meaning.
QString categoryIcon(const QString& symbol)
{
    static const std::map<QString, QString> icons{
        {QStringLiteral("checkmark.circle"), QStringLiteral("check-circle")},
        {QStringLiteral("face.smiling"), QStringLiteral("smile")},
        {QStringLiteral("hand.thumbsup"), QStringLiteral("thumbs-up")},
        {QStringLiteral("heart"), QStringLiteral("heart")},
        {QStringLiteral("pawprint"), QStringLiteral("paw")},
        {QStringLiteral("gift"), QStringLiteral("gift")},
    };
    const auto found = icons.find(symbol);
    return found == icons.end() ? QStringLiteral("smile") : found->second;
}

} // namespace

StickerPickerView::StickerPickerView(StickerLibrary& library, StickerRecents& recents,
                                     std::function<void(const StickerSource&)> onPick, QWidget* parent)
    : QWidget(parent, Qt::Popup)
    , m_library(library)
    , m_recents(recents)
    , m_onPick(std::move(onPick))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_WindowPropagation);
    setFixedSize(pickerSize);
    Appearance::instance().style(this);
    setAutoFillBackground(true);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(12, 12, 12, 12);
    column->setSpacing(8);
    m_tabs = new DesignSegmented;
    column->addWidget(m_tabs);
    m_categories = categoryRow();
    column->addWidget(m_categories);

    auto* scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* page = new QWidget;
    auto* pageColumn = new QVBoxLayout(page);
    pageColumn->setContentsMargins(0, 0, 0, 0);
    m_grid = new QWidget;
    m_gridLayout = new QGridLayout(m_grid);
    m_gridLayout->setContentsMargins(0, 0, 0, 0);
    m_gridLayout->setSpacing(2);
    pageColumn->addWidget(m_grid, 0, Qt::AlignLeft | Qt::AlignTop);
    m_empty = InspectorSection::hint(QString());
    m_empty->setAlignment(Qt::AlignCenter);
    pageColumn->addWidget(m_empty, 1);
    pageColumn->addStretch(1);
    scroll->setWidget(page);
    column->addWidget(scroll, 1);

    m_mineBar = new QWidget;
    auto* bar = new QHBoxLayout(m_mineBar);
    bar->setContentsMargins(0, 0, 0, 0);
    bar->setSpacing(6);
    bar->addWidget(InspectorSection::hint(tr("우클릭으로 삭제")), 1);
    m_addFile = new DesignButton(tr("이미지 추가…"));
    m_addClipboard = new DesignButton(tr("클립보드에서 추가"));
    m_addClipboard->setIconName(QStringLiteral("clipboard"));
    bar->addWidget(m_addFile);
    bar->addWidget(m_addClipboard);
    column->addWidget(m_mineBar);
    connect(m_addFile, &QAbstractButton::clicked, this, &StickerPickerView::addFromFiles);
    connect(m_addClipboard, &QAbstractButton::clicked, this, &StickerPickerView::addFromClipboard);

    connect(&m_library, &StickerLibrary::itemsChanged, this, &StickerPickerView::rebuild);
    connect(&m_recents, &StickerRecents::entriesChanged, this, &StickerPickerView::rebuild);
    rebuild();
}

QWidget* StickerPickerView::categoryRow()
{
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    const auto& categories = EmojiCatalog::categories();
    for (int i = 0; i < int(categories.size()); ++i) {
        const auto& category = categories[std::size_t(i)];
        auto* button = new IconButton(categoryIcon(category.symbol), category.title());
        button->setToggle(true);
        connect(button, &QAbstractButton::clicked, this, [this, i] { setCategory(i); });
        layout->addWidget(button);
    }
    layout->addStretch(1);
    return row;
}

void StickerPickerView::setTab(Tab tab)
{
    m_tab = tab;
    rebuild();
}

void StickerPickerView::setCategory(int index)
{
    m_category = std::clamp(index, 0, std::max(0, int(EmojiCatalog::categories().size()) - 1));
    rebuild();
}

void StickerPickerView::rebuild()
{
    m_tabs->setItems({{tr("최근"), m_tab == Tab::recent, [this] { setTab(Tab::recent); }},
                      {tr("이모지"), m_tab == Tab::emoji, [this] { setTab(Tab::emoji); }},
                      {tr("내 스티커"), m_tab == Tab::mine, [this] { setTab(Tab::mine); }}});
    m_categories->setVisible(m_tab == Tab::emoji);
    m_mineBar->setVisible(m_tab == Tab::mine);
    const auto buttons = m_categories->findChildren<IconButton*>();
    for (int i = 0; i < buttons.size(); ++i)
        buttons[i]->setSelected(i == m_category);

    std::vector<StickerSource> stickers;
    QString empty;
    switch (m_tab) {
    case Tab::recent:
        for (const auto& recent : m_recents.recents(m_library))
            stickers.push_back(recent.source);
        empty = tr("아직 사용한 스티커가 없습니다.");
        fill(stickers, kEmojiColumns, kEmojiCell, false);
        break;
    case Tab::emoji:
        if (const auto& categories = EmojiCatalog::categories(); m_category < int(categories.size()))
            for (const QString& emoji : categories[std::size_t(m_category)].emojis)
                stickers.push_back(StickerSource::emoji(emoji));
        fill(stickers, kEmojiColumns, kEmojiCell, false);
        break;
    case Tab::mine:
        for (const auto& item : m_library.items())
            stickers.push_back(StickerSource::image(item.sticker));
        empty = tr("PNG(투명 배경 권장) 같은 이미지를 추가하면\n여기에 보관되고 언제든 다시 쓸 수 있습니다.");
        fill(stickers, kImageColumns, kImageCell, true);
        break;
    }
    m_empty->setText(stickers.empty() ? empty : QString());
    m_empty->setVisible(stickers.empty());
}

void StickerPickerView::fill(const std::vector<StickerSource>& stickers, int columns, int cellSize, bool mine)
{
    qDeleteAll(m_cells);
    m_cells.clear();
    for (int i = 0; i < int(stickers.size()); ++i) {
        auto* cell = new StickerCell(stickers[std::size_t(i)], cellSize);
        const StickerSource source = stickers[std::size_t(i)];
        connect(cell, &QAbstractButton::clicked, this, [this, source] { pick(source); });
        if (mine) {
            cell->setContextMenuPolicy(Qt::CustomContextMenu);
            connect(cell, &QWidget::customContextMenuRequested, this, [this, cell, i](const QPoint& at) {
                QMenu menu(this);
                QAction* remove = menu.addAction(tr("삭제"));
                if (menu.exec(cell->mapToGlobal(at)) == remove)
                    removeMine(i);
            });
        }
        m_gridLayout->addWidget(cell, i / columns, i % columns);
        m_cells.append(cell);
    }
}

QList<QAbstractButton*> StickerPickerView::cells() const
{
    return m_cells;
}

QString StickerPickerView::emptyText() const
{
    return m_empty->isVisibleTo(this) ? m_empty->text() : QString();
}

void StickerPickerView::pick(const StickerSource& source)
{
    m_recents.record(source, m_library);
    if (m_onPick)
        m_onPick(source);
    close();
}

void StickerPickerView::removeMine(int index)
{
    const auto& items = m_library.items();
    if (index < 0 || index >= int(items.size()))
        return;
    const StickerLibrary::Item item = items[std::size_t(index)];
    m_library.remove(item);
}

void StickerPickerView::addFromFiles()
{
    // The dialog takes the focus, which closes (and deletes) this popup while it is open: nothing of it is
    // touched afterwards.
    StickerLibrary& library = m_library;
    const QStringList files = QFileDialog::getOpenFileNames(parentWidget(), tr("스티커로 쓸 이미지를 고르세요"), QString(),
                                                            tr("이미지 (*.png *.jpg *.jpeg *.gif *.bmp *.webp *.tiff)"));
    if (!files.isEmpty())
        library.importFiles(files);
}

void StickerPickerView::addFromClipboard()
{
    const auto loaded = ImageLoading::load(QGuiApplication::clipboard());
    if (!loaded || !m_library.add(loaded->image, loaded->name))
        QApplication::beep();
}

} // namespace lumivex
