#include "app/shell/ImageWindow.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace lumivex {

ImageWindow::ImageWindow(QImage image, const QString& title, QWidget* parent)
    : QWidget(parent)
    , m_image(std::move(image))
{
    setWindowTitle(title);
    setAttribute(Qt::WA_DeleteOnClose);
    const QSize available = QGuiApplication::primaryScreen()
        ? QGuiApplication::primaryScreen()->availableSize() * 0.8
        : QSize(1280, 800);
    resize(m_image.size().scaled(available.boundedTo(m_image.size()).expandedTo(QSize(320, 240)), Qt::KeepAspectRatio));
}

void ImageWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(220, 221, 227));
    const QSize fitted = m_image.size().scaled(size(), Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, m_image);
}

} // namespace lumivex
