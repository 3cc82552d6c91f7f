#pragma once

#include <QImage>
#include <QList>
#include <QRect>
#include <QSize>
#include <QString>

#include <memory>
#include <mutex>
#include <variant>

namespace lumivex {

class X11Connection;
class X11SharedMemory;

// Freezes the X screen: one grab of the root window (MIT-SHM when the server offers it, a plain GetImage
// otherwise), split per RandR monitor without copying. The server's GetImage leaves the pointer out.
class X11ScreenGrabber {
public:
    struct Monitor {
        QString name;
        QRect rect; // root pixels
        bool primary = false;
        QSize millimetres; // the physical size the server states (0 × 0 when it does not know)
        // Where Qt lists this monitor among its screens: the primary one first, the others in the server's order.
        int qtOrder = 0;
        bool operator==(const Monitor&) const = default;
    };
    struct MonitorImage {
        // Where the monitor was in the list handed to grab(), and the part of it the root covers.
        qsizetype index = 0;
        Monitor monitor;
        // Format_RGB32 over the grabbed buffer, which stays alive as long as any monitor's image does.
        QImage image;
    };
    using Grab = std::variant<QList<MonitorImage>, QString>;

    explicit X11ScreenGrabber(std::shared_ptr<X11Connection> connection, bool allowSharedMemory = true);
    ~X11ScreenGrabber();

    // The RandR monitors, the primary one first; the whole root when RandR has none to offer.
    QList<Monitor> monitors() const;
    // One grab of the part of the root these monitors cover, split into them (clipped to the root; monitors
    // outside it are left out), or the reason it failed. Safe to call from a worker thread.
    Grab grab(const QList<Monitor>& monitors);
    // Whether the last grab went through shared memory.
    bool usedSharedMemory() const;

private:
    std::shared_ptr<X11SharedMemory> sharedMemoryFor(size_t bytes);

    std::shared_ptr<X11Connection> m_connection;
    mutable std::mutex m_mutex;
    bool m_sharedMemoryUsable;
    bool m_usedSharedMemory = false;
    std::shared_ptr<X11SharedMemory> m_spare;
};

} // namespace lumivex
