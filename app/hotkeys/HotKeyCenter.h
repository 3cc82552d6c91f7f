#pragma once

#include "app/hotkeys/HotKeyAction.h"

#include <QHash>
#include <QObject>

#include <functional>
#include <memory>
#include <set>

namespace lumivex {

class CaptureSettings;
class HotKeyBackend;

// Keeps the desktop's global shortcuts in step with the settings: every action with a shortcut is registered,
// and `failed` holds the actions the desktop refused or that repeat an earlier action's combination. Every
// settings change leads to one reload in the next event-loop turn, however many properties changed; the
// application becoming active reloads too, so a combination another program has released is taken up. A
// pressed shortcut reaches the handler in a later turn, never inside the platform's event delivery.
// Main thread only.
class HotKeyCenter : public QObject {
    Q_OBJECT

public:
    using Handler = std::function<void(HotKeyAction)>;

    // Registers everything once.
    HotKeyCenter(CaptureSettings& settings, std::unique_ptr<HotKeyBackend> backend, Handler handler = {},
                 QObject* parent = nullptr);
    // Over the backend of the platform this process runs on.
    HotKeyCenter(CaptureSettings& settings, Handler handler, QObject* parent = nullptr);
    ~HotKeyCenter() override;

    // Actions whose shortcut was not registered in the last reload, in case order.
    const std::set<HotKeyAction>& failed() const { return m_failed; }
    bool isFailed(HotKeyAction action) const { return m_failed.count(action) != 0; }
    void setHandler(Handler handler) { m_handler = std::move(handler); }
    HotKeyBackend& backend() const { return *m_backend; }

    // Drops every registration and registers again from the current settings. An action without a shortcut, or
    // with one that has no modifier, is neither registered nor failed.
    void reload();
    // While suspended nothing is registered, so that every combination reaches this application's windows (the
    // settings window records a new shortcut then); the failed marks stay as they were. Resuming registers again.
    void setSuspended(bool suspended);
    bool isSuspended() const { return m_suspended; }

Q_SIGNALS:
    void failedChanged();

private:
    void scheduleReload();
    void dispatch(quint32 id);
    void markRefused(const QSet<quint32>& ids);
    void publish(std::set<HotKeyAction> failed);

    CaptureSettings& m_settings;
    std::unique_ptr<HotKeyBackend> m_backend;
    Handler m_handler;
    std::set<HotKeyAction> m_failed;
    QHash<quint32, HotKeyAction> m_keys; // the live registrations by id
    quint32 m_nextId = 1;
    bool m_reloadScheduled = false;
    bool m_suspended = false;
};

} // namespace lumivex
