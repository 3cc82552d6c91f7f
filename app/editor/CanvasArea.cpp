#include "app/editor/CanvasArea.h"

#include "app/editor/CanvasView.h"
#include "app/editor/TextBanner.h"

#include <QGraphicsOpacityEffect>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>

namespace lumivex {

CanvasArea::CanvasArea(CanvasView* canvas, QWidget* parent)
    : QWidget(parent)
    , m_canvas(canvas)
{
    m_canvas->setParent(this);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QPoint CanvasArea::restingPosition(const QWidget* banner) const
{
    const QSize size = banner->sizeHint();
    return {(width() - size.width()) / 2, height() - size.height() - bannerMargin};
}

void CanvasArea::setBanner(TextBanner* banner)
{
    if (banner == m_banner)
        return;
    if (m_banner)
        slide(m_banner, false);
    m_banner = banner;
    if (banner) {
        banner->setParent(this);
        banner->resize(banner->sizeHint());
        slide(banner, true);
    }
}

void CanvasArea::slide(TextBanner* banner, bool in)
{
    auto* fade = new QGraphicsOpacityEffect(banner);
    banner->setGraphicsEffect(fade);
    const QPoint resting = restingPosition(banner);
    const QPoint below(resting.x(), height());
    auto* group = new QParallelAnimationGroup(banner);
    auto* move = new QPropertyAnimation(banner, "pos", group);
    move->setDuration(slideMs);
    move->setStartValue(in ? below : banner->pos());
    move->setEndValue(in ? resting : below);
    move->setEasingCurve(in ? QEasingCurve::OutCubic : QEasingCurve::InCubic);
    auto* opacity = new QPropertyAnimation(fade, "opacity", group);
    opacity->setDuration(slideMs);
    opacity->setStartValue(in ? 0.0 : 1.0);
    opacity->setEndValue(in ? 1.0 : 0.0);
    connect(group, &QAbstractAnimation::finished, banner, [banner, in] {
        if (in)
            banner->setGraphicsEffect(nullptr); // sharp text once it rests
        else
            banner->deleteLater();
    });
    banner->move(move->startValue().toPoint());
    banner->show();
    banner->raise();
    group->start(QAbstractAnimation::DeleteWhenStopped);
}

void CanvasArea::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_canvas->setGeometry(rect());
    if (m_banner)
        m_banner->move(restingPosition(m_banner));
}

} // namespace lumivex
