#include "app/hotkeys/HotKeyCenter.h"

#include "app/platform/HotKeyBackend.h"
#include "core/settings/CaptureSettings.h"

#include <QGuiApplication>
#include <QSet>

namespace lumivex {

HotKeyCenter::HotKeyCenter(CaptureSettings& settings, std::unique_ptr<HotKeyBackend> backend, Handler handler,
                           QObject* parent)
    : QObject(parent), m_settings(settings), m_backend(std::move(backend)), m_handler(std::move(handler))
{
    connect(&m_settings, &CaptureSettings::changed, this, &HotKeyCenter::scheduleReload);
    connect(m_backend.get(), &HotKeyBackend::activated, this, &HotKeyCenter::dispatch, Qt::QueuedConnection);
    connect(m_backend.get(), &HotKeyBackend::refused, this, &HotKeyCenter::markRefused);
    if (auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(application, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
            if (state == Qt::ApplicationActive)
                reload();
        });
    }
    reload();
}

HotKeyCenter::HotKeyCenter(CaptureSettings& settings, Handler handler, QObject* parent)
    : HotKeyCenter(settings, HotKeyBackend::create(Platform::kind()), std::move(handler), parent)
{
}

HotKeyCenter::~HotKeyCenter() = default;

void HotKeyCenter::reload()
{
    m_reloadScheduled = false;
    m_keys.clear();
    if (m_suspended) {
        m_backend->registerAll({});
        return;
    }
    std::set<HotKeyAction> failed;
    QList<HotKeyRegistration> registrations;
    QSet<GlobalShortcut> inUse;
    for (const HotKeyAction action : HotKeyActions::allCases) {
        const std::optional<GlobalShortcut> shortcut = HotKeyActions::shortcut(m_settings, action);
        if (!shortcut || !shortcut->isValidGlobalShortcut())
            continue;
        // Compared as the desktop sees them: stored data may carry bits that no key sets.
        const GlobalShortcut combination(shortcut->keyCode(), shortcut->modifierFlags());
        if (inUse.contains(combination)) {
            failed.insert(action);
            continue;
        }
        inUse.insert(combination);
        const quint32 id = m_nextId++;
        m_keys.insert(id, action);
        registrations.append({id, combination, HotKeyActions::title(action), HotKeyActions::rawValue(action)});
    }
    for (const quint32 id : m_backend->registerAll(registrations))
        failed.insert(m_keys.take(id));
    publish(std::move(failed));
}

void HotKeyCenter::setSuspended(bool suspended)
{
    if (suspended == m_suspended)
        return;
    m_suspended = suspended;
    reload();
}

void HotKeyCenter::scheduleReload()
{
    if (m_reloadScheduled)
        return;
    m_reloadScheduled = true;
    QMetaObject::invokeMethod(this, &HotKeyCenter::reload, Qt::QueuedConnection);
}

void HotKeyCenter::dispatch(quint32 id)
{
    // A press of a registration that a reload has since replaced finds nothing.
    const auto registration = m_keys.constFind(id);
    if (registration != m_keys.constEnd() && m_handler)
        m_handler(*registration);
}

void HotKeyCenter::markRefused(const QSet<quint32>& ids)
{
    std::set<HotKeyAction> failed = m_failed;
    for (const quint32 id : ids) {
        if (m_keys.contains(id))
            failed.insert(m_keys.take(id));
    }
    publish(std::move(failed));
}

void HotKeyCenter::publish(std::set<HotKeyAction> failed)
{
    if (failed == m_failed)
        return;
    m_failed = std::move(failed);
    Q_EMIT failedChanged();
}

} // namespace lumivex
