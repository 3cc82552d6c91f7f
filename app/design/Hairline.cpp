#include "app/design/Hairline.h"

#include "app/design/Design.h"

#include <QPainter>

namespace lumivex {

Hairline::Hairline(Qt::Orientation orientation, QWidget* parent)
    : QWidget(parent)
{
    if (orientation == Qt::Horizontal) {
        setFixedHeight(1);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    } else {
        setFixedWidth(1);
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    }
}

void Hairline::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), Design::color(Design::Token::hairline));
}

} // namespace lumivex
