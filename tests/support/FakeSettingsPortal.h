#pragma once

#include <QDBusContext>
#include <QDBusVariant>
#include <QObject>
#include <QThread>

#include <atomic>

namespace lumivex::test {

// The service object: org.freedesktop.portal.Settings as far as the colour scheme goes.
class SettingsPortalService : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")

public:
    std::atomic<uint> colorScheme{0};

public Q_SLOTS:
    QDBusVariant Read(const QString& settingsNamespace, const QString& key);

Q_SIGNALS:
    void SettingChanged(const QString& settingsNamespace, const QString& key, const QDBusVariant& value);
};

// The desktop's Settings portal as far as the colour scheme goes: org.freedesktop.portal.Desktop answering Read of
// ("org.freedesktop.appearance", "color-scheme") and sending SettingChanged, on a bus of the test's choice. It
// serves from a thread of its own, so a client in the test's thread may wait for the reply.
class FakeSettingsPortal {
public:
    // Registers on the bus at `address` and starts serving; colorScheme 0 no preference, 1 dark, 2 light.
    FakeSettingsPortal(const QString& address, uint colorScheme);
    ~FakeSettingsPortal();
    FakeSettingsPortal(const FakeSettingsPortal&) = delete;
    FakeSettingsPortal& operator=(const FakeSettingsPortal&) = delete;

    bool isServing() const { return m_serving; }
    // Changes the value and sends SettingChanged.
    void change(uint colorScheme);
    // Sends SettingChanged for another key, which a client must ignore.
    void changeUnrelated();

private:
    void emitChange(const QString& key, uint value);

    QThread m_thread;
    SettingsPortalService* m_service;
    QString m_connectionName;
    bool m_serving = false;
};

} // namespace lumivex::test
