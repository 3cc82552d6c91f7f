#include "app/windows/WelcomeView.h"

#include "app/design/Design.h"
#include "app/design/DesignButton.h"
#include "app/design/DesignIcon.h"
#include "app/design/IconTile.h"
#include "app/design/KeyCaps.h"
#include "app/hotkeys/HotKeyAction.h"
#include "core/settings/CaptureSettings.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace lumivex {

namespace {

QLabel* label(const QString& text, double size, QFont::Weight weight, Design::Token ink)
{
    auto* result = new QLabel(text);
    result->setFont(Design::font(size, weight));
    QPalette palette = result->palette();
    palette.setColor(QPalette::WindowText, Design::color(ink));
    result->setPalette(palette);
    result->setAlignment(Qt::AlignCenter);
    return result;
}

// The local files a drag carries, in its order; anything else (web addresses) is no file to open.
QStringList droppedPaths(const QMimeData* data)
{
    QStringList paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    }
    return paths;
}

void clear(QLayout* layout)
{
    while (QLayoutItem* item = layout->takeAt(0)) {
        if (item->widget())
            item->widget()->deleteLater();
        if (item->layout())
            clear(item->layout());
        delete item;
    }
}

// A clickable card that lifts under the pointer and sinks a little while pressed.
class ChoiceCard : public QWidget {
public:
    explicit ChoiceCard(std::function<void()> action) : m_action(std::move(action))
    {
        setCursor(Qt::PointingHandCursor);
        setAttribute(Qt::WA_Hover);
        setFixedSize(260, 170);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const double inset = m_pressed ? 4 : (underMouse() ? 0 : 2);
        const QRectF box = QRectF(rect()).adjusted(inset, inset, -inset, -inset);
        QPainterPath path;
        path.addRoundedRect(box, 14, 14);
        painter.fillPath(path, Design::color(Design::Token::card));
        painter.setPen(QPen(underMouse() ? Design::indigo() : Design::color(Design::Token::cardBorder), 1));
        painter.drawPath(path);
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        m_pressed = event->button() == Qt::LeftButton;
        update();
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        const bool click = m_pressed && rect().contains(event->position().toPoint());
        m_pressed = false;
        update();
        if (click && m_action)
            m_action();
    }

private:
    std::function<void()> m_action;
    bool m_pressed = false;
};

} // namespace

WelcomeView::WelcomeView(const CaptureSettings& settings, Callbacks callbacks, QWidget* parent)
    : QWidget(parent), m_settings(settings), m_callbacks(std::move(callbacks))
{
    setAcceptDrops(true);
    setMinimumSize(600, 510);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(32, 28, 32, 24);
    column->setSpacing(14);
    auto* logo = new IconTile(QStringLiteral("viewfinder"), 64);
    column->addWidget(logo, 0, Qt::AlignHCenter);
    column->addWidget(label(tr("무엇을 캡처할까요?"), 22, QFont::Bold, Design::Token::ink));
    column->addWidget(label(tr("화면을 캡처하거나, 이미지를 끌어다 놓아 편집을 시작하세요"), 13, QFont::Normal,
                            Design::Token::secondaryInk));

    auto* cards = new QHBoxLayout;
    cards->setSpacing(16);
    cards->addStretch();
    cards->addWidget(makeCard(QStringLiteral("region"), tr("영역 캡처"), tr("드래그해서 원하는 부분만"), true,
                              [this] { m_callbacks.captureArea(); }));
    cards->addWidget(makeCard(QStringLiteral("screen"), tr("전체 화면"), tr("현재 디스플레이 전체"), false,
                              [this] { m_callbacks.captureFullScreen(); }));
    cards->addStretch();
    column->addLayout(cards);

    auto* pills = new QHBoxLayout;
    pills->addStretch();
    auto* clipboard = new DesignButton(tr("클립보드에서 열기"));
    clipboard->setIconName(QStringLiteral("clipboard"));
    connect(clipboard, &QAbstractButton::clicked, this, [this] { m_callbacks.openClipboard(); });
    auto* file = new DesignButton(tr("파일 열기…"));
    file->setIconName(QStringLiteral("folder"));
    connect(file, &QAbstractButton::clicked, this, [this] { m_callbacks.openFile(); });
    pills->addWidget(clipboard);
    pills->addWidget(file);
    pills->addStretch();
    column->addLayout(pills);

    m_hints = new QWidget;
    new QHBoxLayout(m_hints);
    m_hints->layout()->setContentsMargins(0, 6, 0, 0);
    column->addWidget(m_hints, 0, Qt::AlignHCenter);
    column->addStretch();
    refreshHints();
    connect(&m_settings, &CaptureSettings::changed, this, [this] {
        refreshHints();
        refreshAreaKeys();
    });
}

QWidget* WelcomeView::makeCard(const QString& icon, const QString& title, const QString& line, bool withAreaKeys,
                               std::function<void()> action)
{
    auto* card = new ChoiceCard(std::move(action));
    auto* content = new QVBoxLayout(card);
    content->setContentsMargins(18, 18, 18, 16);
    content->setSpacing(6);
    content->addWidget(new IconTile(icon, 40), 0, Qt::AlignHCenter);
    content->addWidget(label(title, 16, QFont::Bold, Design::Token::ink));
    content->addWidget(label(line, 12, QFont::Normal, Design::Token::secondaryInk));
    if (withAreaKeys) {
        m_areaKeys = new QVBoxLayout;
        content->addLayout(m_areaKeys);
        refreshAreaKeys();
    }
    content->addStretch();
    for (QWidget* child : card->findChildren<QWidget*>())
        child->setAttribute(Qt::WA_TransparentForMouseEvents);
    return card;
}

void WelcomeView::refreshAreaKeys()
{
    if (!m_areaKeys)
        return;
    clear(m_areaKeys);
    if (const std::optional<GlobalShortcut>& shortcut = m_settings.areaShortcut()) {
        auto* caps = new KeyCaps(shortcut->keyCaps());
        caps->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_areaKeys->addWidget(caps, 0, Qt::AlignHCenter);
    }
}

void WelcomeView::refreshHints()
{
    clear(m_hints->layout());
    m_hintTitles.clear();
    auto* row = static_cast<QHBoxLayout*>(m_hints->layout());
    row->setSpacing(14);
    for (const HotKeyAction action : HotKeyActions::allCases) {
        const std::optional<GlobalShortcut> shortcut = HotKeyActions::shortcut(m_settings, action);
        if (!shortcut)
            continue;
        auto* pair = new QHBoxLayout;
        pair->setSpacing(6);
        pair->addWidget(new KeyCaps(shortcut->keyCaps()));
        pair->addWidget(label(HotKeyActions::title(action), 12, QFont::Normal, Design::Token::secondaryInk));
        row->addLayout(pair);
        m_hintTitles.append(HotKeyActions::title(action));
    }
}

QStringList WelcomeView::hintTitles() const
{
    return m_hintTitles;
}

void WelcomeView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Design::color(Design::Token::windowBackground));
    if (!m_targeted)
        return;
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(Design::indigo(), 2, Qt::DashLine);
    pen.setDashPattern({6, 4});
    painter.setPen(pen);
    painter.drawRoundedRect(QRectF(rect()).adjusted(6, 6, -6, -6), 16, 16);
}

void WelcomeView::dragEnterEvent(QDragEnterEvent* event)
{
    // Every drag of files is welcome; what is not an image is skipped when it is opened.
    if (!droppedPaths(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
        setTargeted(true);
    }
}

void WelcomeView::dragLeaveEvent(QDragLeaveEvent*)
{
    setTargeted(false);
}

void WelcomeView::dropEvent(QDropEvent* event)
{
    setTargeted(false);
    const QStringList paths = droppedPaths(event->mimeData());
    event->acceptProposedAction();
    if (!paths.isEmpty() && m_callbacks.openFiles)
        m_callbacks.openFiles(paths);
}

void WelcomeView::setTargeted(bool targeted)
{
    m_targeted = targeted;
    update();
}

} // namespace lumivex
