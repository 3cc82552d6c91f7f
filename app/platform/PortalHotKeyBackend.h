#pragma once

#include "app/platform/HotKeyBackend.h"
#include "app/platform/PortalRequest.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QHash>

#include <optional>

namespace lumivex {

// Global shortcuts on Wayland, through the desktop portal's GlobalShortcuts interface: one portal session holds
// the registrations, the desktop binds them (and may let the user change the keys), and Activated signals come
// back for the session. Every registerAll() replaces the session, because KDE takes shortcuts only when a
// session is created. A desktop without the interface refuses everything, so the actions show as failed.
class PortalHotKeyBackend : public HotKeyBackend {
    Q_OBJECT

public:
    explicit PortalHotKeyBackend(std::optional<QDBusConnection> bus = std::nullopt);
    ~PortalHotKeyBackend() override;

    // Refuses nothing at once: the desktop's answer comes later, through refused().
    QSet<quint32> registerAll(const QList<HotKeyRegistration>& registrations) override;

    // The combination in the portal's trigger notation ("CTRL+SHIFT+4": CTRL, ALT, SHIFT, LOGO and an XKB key
    // name); nothing for a key without a name there, which leaves the choice to the desktop.
    static std::optional<QString> preferredTrigger(const GlobalShortcut& shortcut);

private Q_SLOTS:
    void onActivated(const QDBusMessage& message);

private:
    struct Pending;
    void sessionCreated(const std::shared_ptr<Pending>& pending, const PortalRequest::Answer& answer);
    void shortcutsBound(const std::shared_ptr<Pending>& pending, const PortalRequest::Answer& answer);
    bool isCurrent(const Pending& pending) const;
    void closeSession(const QString& path);

    QDBusConnection m_bus;
    QString m_session;
    QHash<QString, quint32> m_ids; // portal shortcut id to registration id, for the current registrations
    quint64 m_generation = 0;
};

} // namespace lumivex
