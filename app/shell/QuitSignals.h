#pragma once

#include <QObject>

class QSocketNotifier;

namespace lumivex {

// SIGTERM, SIGINT and SIGHUP (the end of the desktop session for a process without a session manager) become the
// signal `received` in the event loop, so that the application can end the way its quit item does: the clipboard
// handed over and every window closed by its owner. A signal handler may do almost nothing, so it only writes one
// byte to a socket that the event loop watches.
class QuitSignals : public QObject {
    Q_OBJECT

public:
    explicit QuitSignals(QObject* parent = nullptr);
    ~QuitSignals() override;

Q_SIGNALS:
    void received(int signal);

private:
    void drain();

    QSocketNotifier* m_notifier = nullptr;
};

} // namespace lumivex
