#include "app/editor/StickerCell.h"

#include "app/design/Design.h"
#include "core/model/StickerImage.h"

#include <QPainter>

#include <algorithm>

namespace lumivex {

namespace {

constexpr int kInset = 4;

} // namespace

StickerCell::StickerCell(StickerSource source, int size, QWidget* parent)
    : QAbstractButton(parent)
    , m_source(std::move(source))
    , m_size(size)
{
    setFixedSize(size, size);
    setCursor(Qt::PointingHandCursor);
    if (m_source.isEmoji())
        setAccessibleName(m_source.emojiText());
    else if (m_source.stickerImage())
        setToolTip(m_source.stickerImage()->name());
}

const QPixmap& StickerCell::picture()
{
    const qreal ratio = devicePixelRatioF();
    if (!m_picture.isNull() && m_picture.devicePixelRatio() == ratio)
        return m_picture;
    const double side = (m_size - 2 * kInset) * ratio;
    const int pixels = static_cast<int>(side);
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    QSizeF natural;
    if (m_source.isEmoji())
        natural = StickerSource::emojiSize(m_source.emojiText());
    else if (m_source.stickerImage())
        natural = m_source.stickerImage()->image().size();
    if (natural.width() > 0 && natural.height() > 0) {
        const double scale = std::min(side / natural.width(), side / natural.height());
        painter.translate((side - natural.width() * scale) / 2, (side - natural.height() * scale) / 2);
        painter.scale(scale, scale);
        if (m_source.isEmoji())
            StickerSource::drawEmoji(painter, m_source.emojiText(), QPointF());
        else
            painter.drawImage(QPointF(), m_source.stickerImage()->image());
    }
    painter.end();
    m_picture = QPixmap::fromImage(image);
    m_picture.setDevicePixelRatio(ratio);
    return m_picture;
}

void StickerCell::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (m_hovered || isDown()) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(Design::color(Design::Token::group));
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 8, 8);
    }
    painter.drawPixmap(QPointF(kInset, kInset), picture());
}

void StickerCell::enterEvent(QEnterEvent* event)
{
    m_hovered = true;
    update();
    QAbstractButton::enterEvent(event);
}

void StickerCell::leaveEvent(QEvent* event)
{
    m_hovered = false;
    update();
    QAbstractButton::leaveEvent(event);
}

} // namespace lumivex
