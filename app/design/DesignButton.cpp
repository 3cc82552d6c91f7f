#include "app/design/DesignButton.h"

#include "app/design/Design.h"
#include "app/design/DesignIcons.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

namespace lumivex {

namespace {

constexpr int kIconSize = 14;
constexpr int kIconGap = 6;
constexpr int kPadding = 12;
constexpr double kRadius = 7;

} // namespace

DesignButton::DesignButton(const QString& title, Kind kind, QWidget* parent)
    : QAbstractButton(parent)
    , m_kind(kind)
{
    setText(title);
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::PointingHandCursor);
    setFont(Design::font(13, kind == Kind::primary ? QFont::DemiBold : QFont::Medium));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void DesignButton::setIconName(const QString& name)
{
    m_iconName = name;
    updateGeometry();
    update();
}

void DesignButton::setHeight(int height)
{
    m_height = height;
    updateGeometry();
}

QSize DesignButton::sizeHint() const
{
    int width = QFontMetrics(font()).horizontalAdvance(text()) + 2 * kPadding;
    if (!m_iconName.isEmpty())
        width += kIconSize + (text().isEmpty() ? 0 : kIconGap);
    return {width, m_height};
}

void DesignButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath shape;
    shape.addRoundedRect(box, kRadius, kRadius);
    const bool hovered = isEnabled() && underMouse();

    QColor ink;
    if (m_kind == Kind::primary) {
        painter.setOpacity(isEnabled() ? 1.0 : 0.45);
        painter.fillPath(shape, Design::brandGradient(box, layoutDirection()));
        if (hovered || isDown())
            painter.fillPath(shape, isDown() ? QColor(0, 0, 0, 40) : QColor(255, 255, 255, 30));
        ink = Qt::white;
    } else {
        painter.fillPath(shape, Design::color(Design::Token::buttonFill));
        if (hovered || isDown())
            painter.fillPath(shape, QColor(isDown() ? 0 : 127, isDown() ? 0 : 127, isDown() ? 0 : 127, isDown() ? 28 : 18));
        painter.setPen(QPen(Design::color(Design::Token::controlBorder), 1));
        painter.drawPath(shape);
        ink = !isEnabled()                  ? Design::color(Design::Token::disabledInk)
              : m_kind == Kind::destructive ? Design::destructive()
                                            : Design::color(Design::Token::ink);
    }

    const QFontMetrics metrics(font());
    const int textWidth = metrics.horizontalAdvance(text());
    const bool hasIcon = !m_iconName.isEmpty();
    const int contentWidth = textWidth + (hasIcon ? kIconSize + (text().isEmpty() ? 0 : kIconGap) : 0);
    int x = (width() - contentWidth) / 2;
    if (hasIcon) {
        const QPixmap icon = DesignIcons::pixmap(m_iconName, QSize(kIconSize, kIconSize), ink, devicePixelRatioF());
        painter.drawPixmap(QPoint(x, (height() - kIconSize) / 2), icon);
        x += kIconSize + kIconGap;
    }
    painter.setPen(ink);
    painter.drawText(QRect(x, 0, textWidth + 1, height()), Qt::AlignVCenter | Qt::AlignLeft, text());
}

} // namespace lumivex
