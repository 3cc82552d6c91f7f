#include "FakeSettingsPortal.h"

#include <QDBusConnection>
#include <QUuid>

namespace lumivex::test {

namespace {

const QString kNamespace = QStringLiteral("org.freedesktop.appearance");
const QString kColorScheme = QStringLiteral("color-scheme");

} // namespace

QDBusVariant SettingsPortalService::Read(const QString& settingsNamespace, const QString& key)
{
    if (settingsNamespace != kNamespace || key != kColorScheme) {
        sendErrorReply(QStringLiteral("org.freedesktop.portal.Error.NotFound"), QStringLiteral("Requested setting not found"));
        return {};
    }
    // The portal's Read wraps the value in one more variant.
    return QDBusVariant(QVariant::fromValue(QDBusVariant(QVariant(colorScheme.load()))));
}

FakeSettingsPortal::FakeSettingsPortal(const QString& address, uint colorScheme)
    : m_service(new SettingsPortalService)
    , m_connectionName(QStringLiteral("fake-portal-") + QUuid::createUuid().toString(QUuid::WithoutBraces))
{
    m_service->colorScheme = colorScheme;
    m_thread.start();
    m_service->moveToThread(&m_thread);
    QMetaObject::invokeMethod(m_service, [this, address] {
        QDBusConnection bus = QDBusConnection::connectToBus(address, m_connectionName);
        m_serving = bus.isConnected()
            && bus.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), m_service,
                                  QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals)
            && bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop"));
    }, Qt::BlockingQueuedConnection);
}

FakeSettingsPortal::~FakeSettingsPortal()
{
    QMetaObject::invokeMethod(m_service, [this] {
        QDBusConnection::disconnectFromBus(m_connectionName);
        delete m_service;
    }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

void FakeSettingsPortal::emitChange(const QString& key, uint value)
{
    QMetaObject::invokeMethod(m_service, [this, key, value] {
        Q_EMIT m_service->SettingChanged(kNamespace, key, QDBusVariant(QVariant(value)));
    }, Qt::BlockingQueuedConnection);
}

void FakeSettingsPortal::change(uint colorScheme)
{
    m_service->colorScheme = colorScheme;
    emitChange(kColorScheme, colorScheme);
}

void FakeSettingsPortal::changeUnrelated()
{
    emitChange(QStringLiteral("accent-color"), 1);
}

} // namespace lumivex::test
