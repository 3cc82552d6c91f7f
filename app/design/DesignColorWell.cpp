#include "app/design/DesignColorWell.h"

#include "app/design/Appearance.h"
#include "app/design/Design.h"

#include <QColorDialog>
#include <QPainter>
#include <QPainterPath>

namespace lumivex {

DesignColorWell::DesignColorWell(const QColor& color, QWidget* parent)
    : QAbstractButton(parent)
    , m_color(color)
{
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAccessibleName(tr("색"));
    connect(this, &QAbstractButton::clicked, this, &DesignColorWell::openPanel);
}

void DesignColorWell::setColor(const QColor& color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
}

void DesignColorWell::openPanel()
{
    if (!m_panel) {
        // Qt's own panel: the desktop's native dialogs report a colour only when they close.
        m_panel = new QColorDialog(m_color, window());
        m_panel->setOptions(QColorDialog::ShowAlphaChannel | QColorDialog::NoButtons | QColorDialog::DontUseNativeDialog);
        m_panel->setAttribute(Qt::WA_DeleteOnClose);
        m_panel->setWindowTitle(tr("색상"));
        Appearance::instance().style(m_panel);
        connect(m_panel, &QColorDialog::currentColorChanged, this, [this](const QColor& chosen) {
            if (!chosen.isValid() || chosen == m_color)
                return;
            m_color = chosen;
            update();
            Q_EMIT colorChanged(chosen);
        });
    }
    m_panel->setCurrentColor(m_color);
    m_panel->show();
    m_panel->raise();
}

void DesignColorWell::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(isEnabled() ? 1.0 : 0.4);
    const QRectF outer = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(Design::color(underMouse() ? Design::Token::secondaryInk : Design::Token::controlBorder), 1));
    painter.setBrush(Design::color(Design::Token::buttonFill));
    painter.drawRoundedRect(outer, 7, 7);

    const QRectF swatch = outer.adjusted(3.5, 3.5, -3.5, -3.5);
    QPainterPath shape;
    shape.addRoundedRect(swatch, 4.5, 4.5);
    painter.save();
    painter.setClipPath(shape);
    if (m_color.alpha() < 255) {
        // A checkerboard shows through a translucent colour.
        painter.fillRect(swatch, Qt::white);
        for (int y = 0; y * 5 < swatch.height(); ++y) {
            for (int x = y % 2; x * 5 < swatch.width(); x += 2)
                painter.fillRect(QRectF(swatch.left() + x * 5, swatch.top() + y * 5, 5, 5), QColor(200, 200, 205));
        }
    }
    painter.fillRect(swatch, m_color);
    painter.restore();
    painter.setPen(QPen(QColor(0, 0, 0, 30), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(shape);
}

} // namespace lumivex
