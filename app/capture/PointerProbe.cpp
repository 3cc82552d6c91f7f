#include "app/capture/PointerProbe.h"

#include "app/capture/CaptureOverlayWindow.h"
#include "core/geometry/QtAdapters.h"

#include <QEnterEvent>
#include <QPainter>
#include <QPointer>

#include <utility>

namespace lumivex {

namespace {

// One display's frozen picture, exactly as the display showed it; reports where the pointer enters or moves.
class ProbeWindow : public QWidget {
public:
    ProbeWindow(const DisplayShot& shot, std::function<void(Point)> seen, std::function<void()> painted)
        : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::X11BypassWindowManagerHint)
        , m_shot(shot)
        , m_seen(std::move(seen))
        , m_painted(std::move(painted))
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_NoSystemBackground);
        setMouseTracking(true);
        CaptureOverlayWindow::placeOver(*this, shot);
    }

protected:
    void enterEvent(QEnterEvent* event) override { seen(event->position()); }
    void mouseMoveEvent(QMouseEvent* event) override { seen(event->position()); }
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.drawImage(rect(), m_shot.image);
        if (m_painted)
            std::exchange(m_painted, nullptr)();
    }

private:
    void seen(QPointF local) { m_seen(fromQt(local) + Vector(m_shot.globalFrame.x, m_shot.globalFrame.y)); }

    DisplayShot m_shot;
    std::function<void(Point)> m_seen;
    std::function<void()> m_painted;
};

} // namespace

void PointerProbe::locate(const QList<DisplayShot>& shots, std::chrono::milliseconds patience, QObject* context,
                          Found found)
{
    new PointerProbe(shots, patience, context, std::move(found));
}

PointerProbe::PointerProbe(const QList<DisplayShot>& shots, std::chrono::milliseconds patience, QObject* context,
                           Found found)
    : QObject(context)
    , m_patienceLength(patience)
    , m_found(std::move(found))
{
    const QPointer<PointerProbe> self(this);
    for (const DisplayShot& shot : shots) {
        m_windows.push_back(std::make_unique<ProbeWindow>(
            shot,
            [self](Point at) {
                if (self)
                    self->report(at);
            },
            [self] {
                if (self)
                    self->windowPainted();
            }));
        m_windows.back()->show();
    }
    for (QTimer* timer : {&m_patience, &m_limit}) {
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, this, [this] { report(std::nullopt); });
    }
    // Windows that never paint (a compositor that does not map them) must not keep the capture waiting forever.
    m_limit.start(patience * 10);
}

void PointerProbe::windowPainted()
{
    if (++m_painted == m_windows.size())
        m_patience.start(m_patienceLength);
}

void PointerProbe::report(std::optional<Point> pointer)
{
    if (m_reported)
        return;
    m_reported = true;
    m_patience.stop();
    m_limit.stop();
    for (auto& window : m_windows) {
        window->hide();
        window.release()->deleteLater();
    }
    m_windows.clear();
    deleteLater();
    m_found(pointer);
}

} // namespace lumivex
