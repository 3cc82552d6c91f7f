#include "app/design/DesignDropdown.h"

#include "app/design/Appearance.h"
#include "app/design/Design.h"
#include "app/design/DesignIcons.h"

#include <QMenu>
#include <QPainter>
#include <QPainterPath>

namespace lumivex {

DesignDropdown::DesignDropdown(std::vector<Option> options, QString selection, int width,
                               std::function<void(const QString&)> onSelect, QWidget* parent)
    : QAbstractButton(parent)
    , m_options(std::move(options))
    , m_selection(std::move(selection))
    , m_width(width)
    , m_onSelect(std::move(onSelect))
{
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::PointingHandCursor);
    setFont(Design::font(13, QFont::Medium));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(this, &QAbstractButton::clicked, this, &DesignDropdown::open);
}

void DesignDropdown::setSelection(const QString& value)
{
    m_selection = value;
    update();
}

const DesignDropdown::Option* DesignDropdown::selected() const
{
    for (const Option& option : m_options) {
        if (option.value == m_selection)
            return &option;
    }
    return nullptr;
}

QSize DesignDropdown::sizeHint() const
{
    return {m_width, 28};
}

void DesignDropdown::open()
{
    delete m_menu;
    m_menu = new QMenu(this);
    Appearance::instance().style(m_menu);
    for (const Option& option : m_options) {
        QString title = option.leading.isEmpty() ? option.title : option.leading + QLatin1Char(' ') + option.title;
        if (!option.detail.isEmpty())
            title += QLatin1Char('\t') + option.detail;
        QAction* action = m_menu->addAction(title);
        action->setCheckable(true);
        action->setChecked(option.value == m_selection);
        const QString value = option.value;
        connect(action, &QAction::triggered, this, [this, value] {
            m_selection = value;
            update();
            if (m_onSelect)
                m_onSelect(value);
        });
    }
    m_menu->setMinimumWidth(width());
    m_menu->popup(mapToGlobal(QPoint(0, height() + 2)));
}

void DesignDropdown::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(Design::color(underMouse() ? Design::Token::secondaryInk : Design::Token::controlBorder), 1));
    painter.setBrush(Design::color(Design::Token::buttonFill));
    painter.drawRoundedRect(box, 7, 7);

    const Option* option = selected();
    const QString title = !option                  ? QString()
                          : option->leading.isEmpty() ? option->title
                                                      : option->leading + QLatin1Char(' ') + option->title;
    painter.setPen(Design::color(isEnabled() ? Design::Token::ink : Design::Token::disabledInk));
    painter.drawText(QRect(10, 0, width() - 34, height()), Qt::AlignLeft | Qt::AlignVCenter,
                     fontMetrics().elidedText(title, Qt::ElideRight, width() - 34));
    const QPixmap chevron = DesignIcons::pixmap(QStringLiteral("chevron-down"), QSize(12, 12),
                                                Design::color(Design::Token::secondaryInk), devicePixelRatioF());
    painter.drawPixmap(QPoint(width() - 20, (height() - 12) / 2), chevron);
}

} // namespace lumivex
