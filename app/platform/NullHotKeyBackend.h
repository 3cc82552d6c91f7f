#pragma once

#include "app/platform/HotKeyBackend.h"

namespace lumivex {

// Global shortcuts without a desktop: every registration is accepted, and tests press them with press().
class NullHotKeyBackend : public HotKeyBackend {
    Q_OBJECT

public:
    QSet<quint32> registerAll(const QList<HotKeyRegistration>& registrations) override;

    const QList<HotKeyRegistration>& registrations() const { return m_registrations; }
    int registerCount() const { return m_registerCount; }
    // Emits activated() for the registration of this combination; false when none has it.
    bool press(const GlobalShortcut& shortcut);

private:
    QList<HotKeyRegistration> m_registrations;
    int m_registerCount = 0;
};

} // namespace lumivex
