#pragma once

#include "app/platform/Platform.h"
#include "core/settings/GlobalShortcut.h"

#include <QList>
#include <QObject>
#include <QSet>
#include <QString>

#include <memory>

namespace lumivex {

// One combination to register with the desktop, under the number that identifies this registration.
struct HotKeyRegistration {
    quint32 id = 0;
    GlobalShortcut shortcut{0, 0};
    QString description; // what it does, for desktops that list an application's shortcuts
    QString name;        // the same across runs and languages ("area"), for desktops that keep what they bound
};

// System-wide key combinations, one implementation per platform (X11 key grabs, the GlobalShortcuts portal, and a Null
// one for tests). Registrations are replaced as a whole, which is also how the portal binds them.
class HotKeyBackend : public QObject {
    Q_OBJECT

public:
    // Drops every earlier registration and registers these (distinct combinations, each with a modifier). Returns
    // the ids the desktop refused at once; a backend that hears back later reports through refused().
    virtual QSet<quint32> registerAll(const QList<HotKeyRegistration>& registrations) = 0;

    static std::unique_ptr<HotKeyBackend> create(PlatformKind kind);

Q_SIGNALS:
    // A registered combination was pressed.
    void activated(quint32 id);
    // Registrations of the latest registerAll() that the desktop refused or took away after it returned.
    void refused(const QSet<quint32>& ids);
};

} // namespace lumivex
