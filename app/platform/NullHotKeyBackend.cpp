#include "app/platform/NullHotKeyBackend.h"

namespace lumivex {

QSet<quint32> NullHotKeyBackend::registerAll(const QList<HotKeyRegistration>& registrations)
{
    m_registrations = registrations;
    ++m_registerCount;
    return {};
}

bool NullHotKeyBackend::press(const GlobalShortcut& shortcut)
{
    for (const HotKeyRegistration& registration : m_registrations) {
        if (registration.shortcut == shortcut) {
            Q_EMIT activated(registration.id);
            return true;
        }
    }
    return false;
}

} // namespace lumivex
