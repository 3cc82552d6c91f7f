#include "app/editor/IconButton.h"

#include "app/design/Appearance.h"
#include "app/design/Design.h"
#include "app/design/DesignIcons.h"

#include <QPainter>

namespace lumivex {

namespace {

constexpr int kGlyph = 18;

} // namespace

IconButton::IconButton(const QString& icon, const QString& help, QWidget* parent)
    : QAbstractButton(parent)
    , m_icon(icon)
{
    setHelp(help);
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::NoFocus); // the keyboard stays with the canvas
    setFixedSize(size, size);
}

void IconButton::setHelp(const QString& help)
{
    setToolTip(help);
    setAccessibleName(help);
}

void IconButton::setSelected(bool selected)
{
    if (selected == m_selected)
        return;
    m_selected = selected;
    update();
}

void IconButton::setToggle(bool toggle)
{
    m_toggle = toggle;
    update();
}

void IconButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(1, 1, -1, -1);
    QColor ink = Design::color(isEnabled() ? Design::Token::iconInk : Design::Token::disabledInk);
    painter.setPen(Qt::NoPen);
    if (m_selected && m_toggle) {
        QColor tint = Design::indigo();
        tint.setAlphaF(Appearance::instance().scheme() == ColorScheme::dark ? 0.35 : 0.14);
        painter.setBrush(tint);
        painter.drawRoundedRect(box, 8, 8);
        ink = Appearance::instance().scheme() == ColorScheme::dark ? QColor(165, 160, 255) : Design::indigo();
    } else if (m_selected) {
        painter.setBrush(QColor(79, 70, 229, 60));
        painter.drawRoundedRect(box.translated(0, 1), 8, 8);
        painter.setBrush(Design::brandGradient(box, layoutDirection()));
        painter.drawRoundedRect(box, 8, 8);
        ink = Qt::white;
    } else if (isDown() || (isEnabled() && underMouse())) {
        QColor hover = Design::color(Design::Token::ink);
        hover.setAlphaF(isDown() ? 0.14 : 0.08);
        painter.setBrush(hover);
        painter.drawRoundedRect(box, 8, 8);
    }
    const QPoint at((width() - kGlyph) / 2, (height() - kGlyph) / 2);
    painter.drawPixmap(at, DesignIcons::pixmap(m_icon, QSize(kGlyph, kGlyph), ink, devicePixelRatioF()));
}

} // namespace lumivex
