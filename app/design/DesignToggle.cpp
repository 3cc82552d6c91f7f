#include "app/design/DesignToggle.h"

#include "app/design/Design.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

namespace lumivex {

namespace {

constexpr QSizeF kSwitchSize(30, 18);
constexpr double kCheckboxSize = 15;
constexpr int kGap = 8;

} // namespace

DesignToggle::DesignToggle(const QString& title, Style style, QWidget* parent)
    : QAbstractButton(parent)
    , m_style(style)
{
    setText(title);
    setCheckable(true);
    setCursor(Qt::PointingHandCursor);
    setFont(Design::font(12, QFont::Medium));
    setSizePolicy(style == Style::switchControl ? QSizePolicy::Expanding : QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QSize DesignToggle::sizeHint() const
{
    const int text = QFontMetrics(font()).horizontalAdvance(this->text());
    if (m_style == Style::switchControl)
        return {text + kGap + int(kSwitchSize.width()) + 1, 24};
    return {int(kCheckboxSize) + kGap + text + 1, 22};
}

void DesignToggle::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(font());
    painter.setPen(Design::color(isEnabled() ? Design::Token::ink : Design::Token::disabledInk));
    if (m_style == Style::switchControl) {
        const QRectF box(width() - kSwitchSize.width() - 0.5, (height() - kSwitchSize.height()) / 2,
                         kSwitchSize.width(), kSwitchSize.height());
        painter.drawText(QRect(0, 0, int(box.left()) - kGap, height()), Qt::AlignLeft | Qt::AlignVCenter, text());
        paintSwitch(painter, box);
    } else {
        const QRectF box(0.5, (height() - kCheckboxSize) / 2, kCheckboxSize, kCheckboxSize);
        painter.drawText(QRect(int(box.right()) + kGap, 0, width(), height()), Qt::AlignLeft | Qt::AlignVCenter, text());
        paintCheckbox(painter, box);
    }
}

void DesignToggle::paintSwitch(QPainter& painter, const QRectF& box) const
{
    painter.setOpacity(isEnabled() ? 1.0 : 0.5);
    const double radius = box.height() / 2;
    painter.setPen(Qt::NoPen);
    if (isChecked())
        painter.setBrush(Design::brandGradient(box, layoutDirection()));
    else
        painter.setBrush(Design::color(Design::Token::track));
    painter.drawRoundedRect(box, radius, radius);
    const double knob = box.height() - 4;
    const double x = isChecked() ? box.right() - 2 - knob : box.left() + 2;
    painter.setBrush(QColor(0, 0, 0, 35));
    painter.drawEllipse(QRectF(x, box.top() + 2.6, knob, knob));
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRectF(x, box.top() + 2, knob, knob));
}

void DesignToggle::paintCheckbox(QPainter& painter, const QRectF& box) const
{
    painter.setOpacity(isEnabled() ? 1.0 : 0.5);
    if (isChecked()) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(Design::brandGradient(box, layoutDirection()));
        painter.drawRoundedRect(box, 4, 4);
        QPainterPath tick;
        tick.moveTo(box.left() + 3.5, box.center().y() + 0.2);
        tick.lineTo(box.left() + 6.3, box.bottom() - 4);
        tick.lineTo(box.right() - 3.3, box.top() + 4);
        painter.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(tick);
    } else {
        painter.setPen(QPen(Design::color(Design::Token::controlBorder), 1));
        painter.setBrush(Design::color(Design::Token::buttonFill));
        painter.drawRoundedRect(box, 4, 4);
    }
}

} // namespace lumivex
