#include "app/design/KeyCap.h"

#include "app/design/Design.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace lumivex {

namespace {

constexpr int kHeight = 22;

} // namespace

KeyCap::KeyCap(const QString& text, Style style, QWidget* parent)
    : QWidget(parent)
    , m_text(text)
    , m_style(style)
{
    setFont(Design::font(11, QFont::DemiBold));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize KeyCap::sizeHint() const
{
    return {std::max(kHeight, QFontMetrics(font()).horizontalAdvance(m_text) + 12), kHeight};
}

void KeyCap::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -1.5);
    if (m_style == Style::onBrand) {
        painter.setPen(QPen(QColor(255, 255, 255, 90), 1));
        painter.setBrush(QColor(255, 255, 255, 48));
        painter.drawRoundedRect(box, 5, 5);
        painter.setPen(Qt::white);
    } else {
        // A darker lower edge gives the cap its depth.
        painter.setPen(Qt::NoPen);
        painter.setBrush(Design::color(Design::Token::controlBorder));
        painter.drawRoundedRect(box.translated(0, 1), 5, 5);
        painter.setPen(QPen(Design::color(Design::Token::controlBorder), 1));
        painter.setBrush(Design::color(Design::Token::keyFill));
        painter.drawRoundedRect(box, 5, 5);
        painter.setPen(Design::color(Design::Token::keyText));
    }
    painter.drawText(box, Qt::AlignCenter, m_text);
}

} // namespace lumivex
