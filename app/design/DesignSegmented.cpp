#include "app/design/DesignSegmented.h"

#include "app/design/Design.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

namespace lumivex {

namespace {

constexpr int kHeight = 28;
constexpr int kInset = 2;

} // namespace

DesignSegmented::DesignSegmented(std::vector<Item> items, QWidget* parent)
    : QWidget(parent)
    , m_items(std::move(items))
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
}

void DesignSegmented::setItems(std::vector<Item> items)
{
    m_items = std::move(items);
    updateGeometry();
    update();
}

QRect DesignSegmented::itemRect(int index) const
{
    const int count = int(m_items.size());
    if (index < 0 || index >= count)
        return {};
    const int inner = width() - 2 * kInset;
    const int left = kInset + inner * index / count;
    const int right = kInset + inner * (index + 1) / count;
    return {left, kInset, right - left, height() - 2 * kInset};
}

QSize DesignSegmented::sizeHint() const
{
    const QFontMetrics metrics(Design::font(12, QFont::Medium));
    int widest = 0;
    for (const Item& item : m_items)
        widest = std::max(widest, metrics.horizontalAdvance(item.title));
    return {int(m_items.size()) * (widest + 20) + 2 * kInset, kHeight};
}

void DesignSegmented::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Design::color(Design::Token::segmentTrack));
    painter.drawRoundedRect(QRectF(rect()), 8, 8);
    for (int i = 0; i < int(m_items.size()); ++i) {
        const Item& item = m_items[std::size_t(i)];
        const QRectF box = itemRect(i);
        if (item.isSelected) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(0, 0, 0, 30));
            painter.drawRoundedRect(box.translated(0, 0.7), 6, 6);
            painter.setBrush(Design::color(Design::Token::buttonFill));
            painter.drawRoundedRect(box, 6, 6);
        }
        painter.setFont(Design::font(12, item.isSelected ? QFont::DemiBold : QFont::Medium));
        painter.setPen(Design::color(!isEnabled()      ? Design::Token::disabledInk
                                     : item.isSelected ? Design::Token::ink
                                                       : Design::Token::secondaryInk));
        painter.drawText(box, Qt::AlignCenter, item.title);
    }
}

void DesignSegmented::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    for (int i = 0; i < int(m_items.size()); ++i) {
        if (itemRect(i).contains(event->position().toPoint())) {
            // The action may replace the items; run a copy.
            const auto action = m_items[std::size_t(i)].action;
            if (action)
                action();
            return;
        }
    }
}

} // namespace lumivex
