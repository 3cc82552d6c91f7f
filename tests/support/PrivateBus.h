#pragma once

#include "ChildProcess.h"

#include <QString>
#include <QTemporaryDir>

namespace lumivex::test {

// A D-Bus session bus of our own (dbus-daemon with a minimal configuration: no service activation, so nothing
// real answers unless a test registers it). Stopped with the object.
class PrivateBus {
public:
    PrivateBus();
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    bool isRunning() const { return !m_address.isEmpty(); }
    // The address for DBUS_SESSION_BUS_ADDRESS and QDBusConnection::connectToBus.
    QString address() const { return m_address; }

private:
    QTemporaryDir m_directory;
    ChildProcess m_daemon;
    QString m_address;
};

} // namespace lumivex::test
