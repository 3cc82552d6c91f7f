#pragma once

#include <QDBusConnection>
#include <QFuture>
#include <QObject>
#include <QPromise>
#include <QString>
#include <QTimer>
#include <QVariantList>
#include <QVariantMap>

#include <chrono>
#include <memory>

namespace lumivex {

// One call of a desktop portal method that answers later through an org.freedesktop.portal.Request object. The
// Response signal is sent to the caller only and may come before the method's reply, so the handler is
// subscribed on the request path the portal will use (derived from our bus name and a fresh token) before the
// call goes out. A portal that does not answer within the time is an error, never a wait without end.
class PortalRequest : public QObject {
    Q_OBJECT

public:
    // How the desktop answered; `error` is set (and `response` meaningless) when no answer came at all.
    struct Answer {
        uint response = 2; // 0 done, 1 cancelled by the user, 2 ended otherwise
        QVariantMap results;
        QString error;
    };

    struct Call {
        QString interface; // e.g. org.freedesktop.portal.Screenshot
        QString method;
        QVariantList arguments; // those before the options map
        QVariantMap options;    // handle_token is added
        std::chrono::milliseconds timeout{10000};
    };

    // Main thread only; the future finishes on the main thread, in a later turn of its event loop.
    static QFuture<Answer> send(const QDBusConnection& bus, Call call);

    static inline const QString service = QStringLiteral("org.freedesktop.portal.Desktop");
    static inline const QString objectPath = QStringLiteral("/org/freedesktop/portal/desktop");
    // Where the portal keeps the Request (or Session) object for this token of this connection.
    static QString handlePath(const QDBusConnection& bus, const QString& kind, const QString& token);
    static QString newToken();

private Q_SLOTS:
    void onResponse(uint response, const QVariantMap& results);

private:
    PortalRequest(const QDBusConnection& bus, Call call);
    void start();
    bool subscribe(const QString& path);
    void unsubscribe();
    void finish(Answer answer);

    QDBusConnection m_bus;
    Call m_call;
    QString m_path;
    QTimer m_timer;
    QPromise<Answer> m_promise;
    bool m_finished = false;
};

} // namespace lumivex
