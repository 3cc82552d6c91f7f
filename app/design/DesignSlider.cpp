#include "app/design/DesignSlider.h"

#include "app/design/Design.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace lumivex {

namespace {

constexpr int kLabelHeight = 18;
constexpr double kThumbRadius = 8;
constexpr int kHeight = 42;
constexpr double kTrackY = 31;

} // namespace

DesignSlider::DesignSlider(const QString& label, double minimum, double maximum, QWidget* parent)
    : QWidget(parent)
    , m_label(label)
    , m_minimum(minimum)
    , m_maximum(std::max(minimum, maximum))
    , m_value(minimum)
    , m_format(&DesignSlider::pixels)
{
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAccessibleName(label);
}

QString DesignSlider::pixels(double value)
{
    return QStringLiteral("%1 px").arg(std::lround(value));
}

QString DesignSlider::percent(double value)
{
    return QStringLiteral("%1%").arg(std::lround(value * 100));
}

void DesignSlider::setValue(double value)
{
    const double clamped = std::isfinite(value) ? std::clamp(value, m_minimum, m_maximum) : m_minimum;
    if (clamped == m_value)
        return;
    m_value = clamped;
    update();
}

void DesignSlider::setFormat(Format format)
{
    m_format = std::move(format);
    update();
}

void DesignSlider::setThumb(const QColor& color)
{
    m_thumb = color;
    update();
}

QString DesignSlider::valueText() const
{
    return m_format ? m_format(m_value) : QString::number(m_value);
}

QRectF DesignSlider::trackRect() const
{
    return {kThumbRadius, kTrackY - 2, std::max(0.0, width() - 2 * kThumbRadius), 4};
}

QSize DesignSlider::sizeHint() const
{
    return {200, kHeight};
}

double DesignSlider::valueAt(double x) const
{
    const QRectF track = trackRect();
    const double t = track.width() > 0 ? std::clamp((x - track.left()) / track.width(), 0.0, 1.0) : 0.0;
    return m_minimum + t * (m_maximum - m_minimum);
}

void DesignSlider::setFromUser(double value)
{
    const double clamped = std::clamp(value, m_minimum, m_maximum);
    if (clamped == m_value)
        return;
    m_value = clamped;
    update();
    Q_EMIT valueChanged(m_value);
}

void DesignSlider::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    setFromUser(valueAt(event->position().x()));
}

void DesignSlider::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() & Qt::LeftButton)
        setFromUser(valueAt(event->position().x()));
}

void DesignSlider::keyPressEvent(QKeyEvent* event)
{
    const double step = (m_maximum - m_minimum) / (event->modifiers() & Qt::ShiftModifier ? 10 : 100);
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Down:
        setFromUser(m_value - step);
        break;
    case Qt::Key_Right:
    case Qt::Key_Up:
        setFromUser(m_value + step);
        break;
    case Qt::Key_Home:
        setFromUser(m_minimum);
        break;
    case Qt::Key_End:
        setFromUser(m_maximum);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void DesignSlider::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool enabled = isEnabled();
    painter.setFont(Design::font(12, QFont::Medium));
    painter.setPen(Design::color(enabled ? Design::Token::ink : Design::Token::disabledInk));
    painter.drawText(QRect(0, 0, width(), kLabelHeight), Qt::AlignLeft | Qt::AlignVCenter, m_label);
    painter.setFont(Design::font(12));
    painter.setPen(Design::color(enabled ? Design::Token::secondaryInk : Design::Token::disabledInk));
    painter.drawText(QRect(0, 0, width(), kLabelHeight), Qt::AlignRight | Qt::AlignVCenter, valueText());

    const QRectF track = trackRect();
    const double span = m_maximum - m_minimum;
    const double t = span > 0 ? (m_value - m_minimum) / span : 0.0;
    const double thumbX = track.left() + t * track.width();
    painter.setPen(Qt::NoPen);
    painter.setBrush(Design::color(Design::Token::track));
    painter.drawRoundedRect(track, 2, 2);
    QRectF filled = track;
    filled.setRight(thumbX);
    painter.setBrush(enabled ? Design::indigo() : Design::color(Design::Token::disabledInk));
    painter.drawRoundedRect(filled, 2, 2);

    const QPointF centre(thumbX, track.center().y());
    painter.setBrush(QColor(0, 0, 0, 40));
    painter.drawEllipse(centre + QPointF(0, 0.8), kThumbRadius, kThumbRadius);
    painter.setPen(QPen(Design::color(Design::Token::controlBorder), 1));
    painter.setBrush(m_thumb);
    painter.drawEllipse(centre, kThumbRadius - 0.5, kThumbRadius - 0.5);
    if (hasFocus()) {
        painter.setPen(QPen(Design::indigo(), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(centre, kThumbRadius + 1.5, kThumbRadius + 1.5);
    }
}

} // namespace lumivex
