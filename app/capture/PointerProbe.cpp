#include "app/capture/PointerProbe.h"

#include "app/capture/CaptureOverlayWindow.h"
#include "core/geometry/QtAdapters.h"

#include <QEnterEvent>
#include <QPainter>
#include <QPointer>

namespace lumivex {

namespace {

// One display's frozen picture, exactly as the display showed it; reports where the pointer enters or moves.
class ProbeWindow : public QWidget {
public:
    ProbeWindow(const DisplayShot& shot, std::function<void(Point)> seen)
        : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::X11BypassWindowManagerHint)
        , m_shot(shot)
        , m_seen(std::move(seen))
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
    }

private:
    void seen(QPointF local) { m_seen(fromQt(local) + Vector(m_shot.globalFrame.x, m_shot.globalFrame.y)); }

    DisplayShot m_shot;
    std::function<void(Point)> m_seen;
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
    , m_found(std::move(found))
{
    const QPointer<PointerProbe> self(this);
    for (const DisplayShot& shot : shots) {
        m_windows.push_back(std::make_unique<ProbeWindow>(shot, [self](Point at) {
            if (self)
                self->report(at);
        }));
        m_windows.back()->show();
    }
    m_patience.setSingleShot(true);
    connect(&m_patience, &QTimer::timeout, this, [this] { report(std::nullopt); });
    m_patience.start(patience);
}

void PointerProbe::report(std::optional<Point> pointer)
{
    if (m_reported)
        return;
    m_reported = true;
    m_patience.stop();
    for (auto& window : m_windows) {
        window->hide();
        window.release()->deleteLater();
    }
    m_windows.clear();
    deleteLater();
    m_found(pointer);
}

} // namespace lumivex
