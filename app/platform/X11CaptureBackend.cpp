#include "app/platform/X11CaptureBackend.h"

#include "app/platform/X11Connection.h"
#include "app/platform/X11PixelScale.h"
#include "app/platform/X11WindowList.h"

#include <QGuiApplication>
#include <QtConcurrent/QtConcurrentRun>

#include <unistd.h>

namespace lumivex {

namespace {

Rect divided(const QRect& r, double scale)
{
    return {r.x() / scale, r.y() / scale, r.width() / scale, r.height() / scale};
}

} // namespace

X11CaptureBackend::X11CaptureBackend(Options options)
    : m_options(std::move(options))
{
    m_connection = X11Connection::open(m_options.displayName, &m_connectionError);
    if (!m_options.screens) {
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) || !m_connection) {
            m_options.screens = &X11CaptureBackend::qtScreenFor;
        } else {
            m_options.screens = [scale = X11PixelScale(X11PixelScale::Settings::current(*m_connection))](
                                    const X11ScreenGrabber::Monitor& monitor) {
                return ScreenMatch{nullptr, scale.forMonitor(monitor)};
            };
        }
    }
    if (!m_connection)
        return;
    m_grabber = std::make_shared<X11ScreenGrabber>(m_connection, m_options.allowSharedMemory);
    m_windows = std::make_unique<X11WindowList>(
        m_connection, m_options.ownProcessId >= 0 ? m_options.ownProcessId : qint64(::getpid()));
}

X11CaptureBackend::~X11CaptureBackend() = default;

X11CaptureBackend::ScreenMatch X11CaptureBackend::qtScreenFor(const X11ScreenGrabber::Monitor& monitor)
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return {};
    const QList<QScreen*> screens = QGuiApplication::screens();
    for (QScreen* screen : screens)
        if (!monitor.name.isEmpty() && screen->name() == monitor.name)
            return {screen, screen->devicePixelRatio()};
    // Qt keeps a screen's native top-left corner and divides only its size by the ratio.
    for (QScreen* screen : screens) {
        const QRect g = screen->geometry();
        const double ratio = screen->devicePixelRatio();
        if (g.topLeft() == monitor.rect.topLeft() && qRound(g.width() * ratio) == monitor.rect.width())
            return {screen, ratio};
    }
    return {nullptr, qGuiApp->devicePixelRatio()};
}

X11CaptureBackend::Layout X11CaptureBackend::currentLayout() const
{
    Layout layout;
    if (!m_grabber)
        return layout;
    layout.monitors = m_grabber->monitors();
    for (const X11ScreenGrabber::Monitor& monitor : layout.monitors) {
        ScreenMatch match = m_options.screens(monitor);
        if (!(match.scale > 0) || !qIsFinite(match.scale))
            match.scale = 1;
        layout.screens.append(match);
    }
    return layout;
}

Rect X11CaptureBackend::toPoints(const Layout& layout, const QRect& rootPixels)
{
    // A window spanning monitors takes the ratio of the monitor under its centre.
    double scale = layout.screens.isEmpty() ? 1.0 : layout.screens.first().scale;
    for (qsizetype i = 0; i < layout.monitors.size(); ++i)
        if (layout.monitors.at(i).rect.contains(rootPixels.center()))
            scale = layout.screens.at(i).scale;
    return divided(rootPixels, scale);
}

QFuture<DisplayCapture> X11CaptureBackend::captureDisplays()
{
    if (!m_connection)
        return QtFuture::makeReadyFuture<DisplayCapture>(CaptureError::failed(m_connectionError));
    // The monitors and their Qt screens are read here on the main thread; only the grab runs elsewhere.
    const Layout layout = currentLayout();
    return QtConcurrent::run(
        [grabber = m_grabber, layout]() -> DisplayCapture { return shotsFrom(grabber->grab(layout.monitors), layout); });
}

DisplayCapture X11CaptureBackend::captureDisplayUnderPointer()
{
    if (!m_connection)
        return CaptureError::failed(m_connectionError);
    Layout layout = currentLayout();
    if (layout.monitors.isEmpty())
        return CaptureError::noDisplay();
    qsizetype chosen = 0;
    if (const std::optional<QPoint> pointer = pointerInRootPixels()) {
        for (qsizetype i = 0; i < layout.monitors.size(); ++i) {
            if (layout.monitors.at(i).rect.contains(*pointer)) {
                chosen = i;
                break;
            }
        }
    }
    layout.monitors = {layout.monitors.at(chosen)};
    layout.screens = {layout.screens.at(chosen)};
    return shotsFrom(m_grabber->grab(layout.monitors), layout);
}

DisplayCapture X11CaptureBackend::shotsFrom(X11ScreenGrabber::Grab grab, const Layout& layout)
{
    if (const QString* error = std::get_if<QString>(&grab))
        return CaptureError::failed(*error);
    QList<DisplayShot> shots;
    for (const X11ScreenGrabber::MonitorImage& part : std::get<QList<X11ScreenGrabber::MonitorImage>>(grab)) {
        const ScreenMatch& match = layout.screens.at(part.index);
        shots.append({match.screen, part.monitor.name, part.image, divided(part.monitor.rect, match.scale)});
    }
    if (shots.isEmpty())
        return CaptureError::noDisplay();
    return shots;
}

QList<WindowInfo> X11CaptureBackend::windowsFrontToBack()
{
    if (!m_windows)
        return {};
    const Layout layout = currentLayout();
    return m_windows->frontToBack([&layout](const QRect& r) { return toPoints(layout, r); });
}

std::optional<QPoint> X11CaptureBackend::pointerInRootPixels()
{
    if (!m_connection)
        return std::nullopt;
    xcb_connection_t* c = m_connection->get();
    auto pointer = xcbReply(xcb_query_pointer_reply(c, xcb_query_pointer(c, m_connection->root()), nullptr));
    if (!pointer || !pointer->same_screen)
        return std::nullopt;
    return QPoint(pointer->root_x, pointer->root_y);
}

std::optional<Point> X11CaptureBackend::pointerLocation()
{
    const std::optional<QPoint> pointer = pointerInRootPixels();
    if (!pointer)
        return std::nullopt;
    const Rect at = toPoints(currentLayout(), QRect(*pointer, QSize(1, 1)));
    return Point(at.x, at.y);
}

bool X11CaptureBackend::usedSharedMemory() const { return m_grabber && m_grabber->usedSharedMemory(); }

} // namespace lumivex
