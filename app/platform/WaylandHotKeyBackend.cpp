#include "app/platform/WaylandHotKeyBackend.h"

namespace lumivex {

QSet<quint32> WaylandHotKeyBackend::registerAll(const QList<HotKeyRegistration>& registrations)
{
    QSet<quint32> refused;
    for (const HotKeyRegistration& registration : registrations)
        refused.insert(registration.id);
    return refused;
}

} // namespace lumivex
