#include "app/platform/PortalRequest.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QRandomGenerator>

namespace lumivex {

namespace {

const QString requestInterface = QStringLiteral("org.freedesktop.portal.Request");

} // namespace

QString PortalRequest::handlePath(const QDBusConnection& bus, const QString& kind, const QString& token)
{
    // ":1.42" becomes "1_42".
    QString sender = bus.baseService();
    if (sender.startsWith(QLatin1Char(':')))
        sender.remove(0, 1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return QStringLiteral("%1/%2/%3/%4").arg(objectPath, kind, sender, token);
}

QString PortalRequest::newToken()
{
    return QStringLiteral("lumivex%1").arg(QRandomGenerator::global()->generate64(), 16, 16, QLatin1Char('0'));
}

QFuture<PortalRequest::Answer> PortalRequest::send(const QDBusConnection& bus, Call call)
{
    auto* request = new PortalRequest(bus, std::move(call));
    QFuture<Answer> future = request->m_promise.future();
    request->start();
    return future;
}

PortalRequest::PortalRequest(const QDBusConnection& bus, Call call)
    : m_bus(bus)
    , m_call(std::move(call))
{
    m_promise.start();
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        // Let the portal drop whatever it still shows for this request.
        if (!m_path.isEmpty())
            m_bus.call(QDBusMessage::createMethodCall(service, m_path, requestInterface, QStringLiteral("Close")),
                       QDBus::NoBlock);
        const auto seconds = std::chrono::duration_cast<std::chrono::duration<double>>(m_call.timeout).count();
        finish({2, {}, tr("데스크톱 포털이 %1초 안에 응답하지 않았습니다.").arg(seconds, 0, 'g', 3)});
    });
}

void PortalRequest::start()
{
    if (!m_bus.isConnected()) {
        // Answered in a later turn all the same: a caller still inside send() must not hear back yet.
        const QString error = tr("세션 D-Bus에 연결할 수 없습니다: %1").arg(m_bus.lastError().message());
        QMetaObject::invokeMethod(this, [this, error] { finish({2, {}, error}); }, Qt::QueuedConnection);
        return;
    }
    const QString token = newToken();
    subscribe(handlePath(m_bus, QStringLiteral("request"), token));
    m_call.options.insert(QStringLiteral("handle_token"), token);

    QDBusMessage message = QDBusMessage::createMethodCall(service, objectPath, m_call.interface, m_call.method);
    message.setArguments(m_call.arguments + QVariantList{m_call.options});
    m_timer.start(m_call.timeout);
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(message, int(m_call.timeout.count())), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher] {
        watcher->deleteLater();
        const QDBusPendingReply<QDBusObjectPath> reply = *watcher;
        if (reply.isError()) {
            const QDBusError error = reply.error();
            finish({2, {}, tr("데스크톱 포털(%1)이 요청을 받지 않았습니다: %2 (%3)")
                               .arg(m_call.interface, error.message(), error.name())});
            return;
        }
        // Portals older than the handle_token convention choose their own path.
        const QString path = reply.value().path();
        if (!m_finished && path != m_path) {
            unsubscribe();
            subscribe(path);
        }
    });
}

bool PortalRequest::subscribe(const QString& path)
{
    m_path = path;
    return m_bus.connect(service, path, requestInterface, QStringLiteral("Response"), this,
                         SLOT(onResponse(uint, QVariantMap)));
}

void PortalRequest::unsubscribe()
{
    if (!m_path.isEmpty())
        m_bus.disconnect(service, m_path, requestInterface, QStringLiteral("Response"), this,
                         SLOT(onResponse(uint, QVariantMap)));
}

void PortalRequest::onResponse(uint response, const QVariantMap& results)
{
    finish({response, results, {}});
}

void PortalRequest::finish(Answer answer)
{
    if (m_finished)
        return;
    m_finished = true;
    m_timer.stop();
    unsubscribe();
    m_promise.addResult(std::move(answer));
    m_promise.finish();
    deleteLater();
}

} // namespace lumivex
