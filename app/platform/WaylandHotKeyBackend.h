#pragma once

#include "app/platform/HotKeyBackend.h"

namespace lumivex {

// Wayland gives a client no way to grab keys for the whole desktop. Until the GlobalShortcuts portal is bound
// here, every registration is refused, so each action shows up as failed instead of silently doing nothing.
class WaylandHotKeyBackend : public HotKeyBackend {
    Q_OBJECT

public:
    QSet<quint32> registerAll(const QList<HotKeyRegistration>& registrations) override;
};

} // namespace lumivex
