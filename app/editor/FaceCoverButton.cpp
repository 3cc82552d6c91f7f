#include "app/editor/FaceCoverButton.h"

#include "app/design/Design.h"
#include "app/editor/FaceCoverGuide.h"
#include "app/editor/StickerPickerView.h"
#include "app/editor/TipBubble.h"
#include "core/model/FaceCover.h"
#include "core/settings/CaptureSettings.h"
#include "core/stickers/EmojiCatalog.h"

#include <QEvent>
#include <QMenu>
#include <QPainter>
#include <QVariantAnimation>

namespace lumivex {

namespace {

// Shows a popup under `anchor`, centred on it.
void showBelow(QWidget* popup, const QWidget* anchor)
{
    popup->adjustSize();
    popup->move(anchor->mapToGlobal(QPoint(anchor->width() / 2 - popup->width() / 2, anchor->height() + 6)));
    popup->show();
}

} // namespace

FaceCoverButton::FaceCoverButton(EditorStores stores, std::function<void(const FaceCover&)> onCover, QWidget* parent)
    : IconButton(QStringLiteral("smile-dashed"), tr("얼굴 자동 감지 후 가리기"), parent)
    , m_stores(stores)
    , m_onCover(std::move(onCover))
{
    buildMenu();
    connect(this, &QAbstractButton::clicked, this,
            [this] { m_menu->popup(mapToGlobal(QPoint(0, height() + 4))); });

    m_pulse = new QVariantAnimation(this);
    m_pulse->setStartValue(0.0);
    m_pulse->setEndValue(1.0);
    m_pulse->setDuration(1400);
    m_pulse->setLoopCount(-1);
    connect(m_pulse, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        m_pulsePhase = value.toDouble();
        update();
    });
    connect(&m_stores.captureSettings(), &CaptureSettings::changed, this, &FaceCoverButton::refreshTip);
}

FaceCoverButton::~FaceCoverButton()
{
    // The bubble lives in the window, not in the button.
    delete m_bubble.data();
}

void FaceCoverButton::buildMenu()
{
    m_menu = new QMenu(this);
    const auto item = [this](const QString& text, std::function<void()> action) {
        connect(m_menu->addAction(text), &QAction::triggered, this, std::move(action));
    };
    item(tr("얼굴을 채운 타원으로 가리기"), [this] { cover(FaceCover::filledEllipse()); });
    item(tr("얼굴 블러"), [this] { cover(FaceCover::blur(BlurStyle::gaussian)); });
    item(tr("얼굴 모자이크"), [this] { cover(FaceCover::blur(BlurStyle::pixelate)); });
    item(tr("랜덤 스티커로 가리기"), [this] { cover(FaceCover::randomStickers(EmojiCatalog::randomFaceStickers())); });
    item(tr("스티커로 가리기…"), [this] { showStickerPicker(); });
    m_menu->addSeparator();
    item(tr("사용법 보기…"), [this] { showGuide(); });
}

void FaceCoverButton::cover(const FaceCover& cover)
{
    if (m_onCover)
        m_onCover(cover);
}

void FaceCoverButton::showStickerPicker()
{
    m_picker = new StickerPickerView(m_stores.stickerLibrary(), m_stores.stickerRecents(),
                                     [this](const StickerSource& source) { cover(FaceCover::sticker(source)); },
                                     window());
    showBelow(m_picker, this);
}

void FaceCoverButton::showGuide()
{
    CaptureSettings& settings = m_stores.captureSettings();
    m_guide = new FaceCoverGuide([&settings] { settings.setFaceCoverTipDismissed(true); }, window());
    showBelow(m_guide, this);
}

bool FaceCoverButton::isPulsing() const
{
    return m_pulse->state() == QAbstractAnimation::Running;
}

void FaceCoverButton::showEvent(QShowEvent* event)
{
    IconButton::showEvent(event);
    window()->installEventFilter(this);
    refreshTip();
}

void FaceCoverButton::refreshTip()
{
    const bool wanted = !m_stores.captureSettings().faceCoverTipDismissed() && isVisible();
    if (wanted && !m_bubble) {
        m_bubble = new TipBubble(tr("사진 속 얼굴을 한 번에 가려 보세요. 눌러서 사용법 보기"), [this] { showGuide(); },
                                 window());
        placeBubble();
        m_bubble->show();
        m_bubble->raise();
        m_pulse->start();
    } else if (!wanted && m_bubble) {
        m_bubble->deleteLater();
        m_bubble = nullptr;
        m_pulse->stop();
        m_pulsePhase = 0;
        update();
    }
}

void FaceCoverButton::placeBubble()
{
    if (!m_bubble)
        return;
    const QPoint below = mapTo(window(), QPoint(width() / 2 - 24, height() + 2));
    m_bubble->move(below);
    m_bubble->raise();
}

bool FaceCoverButton::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window() && (event->type() == QEvent::Resize || event->type() == QEvent::LayoutRequest))
        placeBubble();
    return IconButton::eventFilter(watched, event);
}

void FaceCoverButton::paintEvent(QPaintEvent* event)
{
    IconButton::paintEvent(event);
    if (!isPulsing())
        return;
    // A brand-coloured ring that breathes in and out.
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor ring = Design::indigo();
    ring.setAlphaF(0.85 * (1 - m_pulsePhase));
    painter.setPen(QPen(ring, 2));
    painter.setBrush(Qt::NoBrush);
    const double inset = 1 + 3 * (1 - m_pulsePhase);
    painter.drawRoundedRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset), 9, 9);
}

} // namespace lumivex
