#include "app/platform/PortalHotKeyBackend.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>

#include <map>

namespace lumivex {

// One entry of the portal's a(sa{sv}) shortcut lists: an id and its properties.
struct PortalShortcut {
    QString id;
    QVariantMap properties;
};

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut)
{
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut)
{
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

} // namespace lumivex

Q_DECLARE_METATYPE(lumivex::PortalShortcut)

namespace lumivex {

namespace {

const QString shortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
// KDE names the shortcut group in its settings after the session token, so it stays the same across runs.
const QString sessionToken = QStringLiteral("lumivex");

// XKB names of the keys a stored shortcut can name (see GlobalShortcut::keyName), by virtual key code.
const std::map<std::int64_t, const char*>& xkbKeyNames()
{
    static const std::map<std::int64_t, const char*> names{
        {0, "a"}, {11, "b"}, {8, "c"}, {2, "d"}, {14, "e"}, {3, "f"}, {5, "g"}, {4, "h"}, {34, "i"}, {38, "j"},
        {40, "k"}, {37, "l"}, {46, "m"}, {45, "n"}, {31, "o"}, {35, "p"}, {12, "q"}, {15, "r"}, {1, "s"}, {17, "t"},
        {32, "u"}, {9, "v"}, {13, "w"}, {7, "x"}, {16, "y"}, {6, "z"}, {29, "0"}, {18, "1"}, {19, "2"}, {20, "3"},
        {21, "4"}, {23, "5"}, {22, "6"}, {26, "7"}, {28, "8"}, {25, "9"}, {27, "minus"}, {24, "equal"},
        {33, "bracketleft"}, {30, "bracketright"}, {41, "semicolon"}, {39, "apostrophe"}, {43, "comma"},
        {47, "period"}, {44, "slash"}, {42, "backslash"}, {50, "grave"}, {49, "space"}, {36, "Return"}, {48, "Tab"},
        {51, "BackSpace"}, {123, "Left"}, {124, "Right"}, {126, "Up"}, {125, "Down"}, {122, "F1"}, {120, "F2"},
        {99, "F3"}, {118, "F4"}, {96, "F5"}, {97, "F6"}, {98, "F7"}, {100, "F8"}, {101, "F9"}, {109, "F10"},
        {103, "F11"}, {111, "F12"}};
    return names;
}

QString pathOf(const QVariant& value)
{
    return value.canConvert<QDBusObjectPath>() ? value.value<QDBusObjectPath>().path() : value.toString();
}

// The ids a portal answer lists as bound, or nothing when the answer lists none at all.
std::optional<QSet<QString>> boundIds(const QVariantMap& results)
{
    const auto found = results.find(QStringLiteral("shortcuts"));
    if (found == results.end())
        return std::nullopt;
    QList<PortalShortcut> shortcuts;
    found->value<QDBusArgument>() >> shortcuts;
    QSet<QString> ids;
    for (const PortalShortcut& shortcut : shortcuts)
        ids.insert(shortcut.id);
    return ids;
}

} // namespace

struct PortalHotKeyBackend::Pending {
    quint64 generation = 0;
    QList<PortalShortcut> shortcuts;
    QHash<QString, quint32> ids;
};

PortalHotKeyBackend::PortalHotKeyBackend(std::optional<QDBusConnection> bus)
    : m_bus(bus ? *bus : QDBusConnection::sessionBus())
{
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<QList<PortalShortcut>>();
    m_bus.connect(PortalRequest::service, PortalRequest::objectPath, shortcutsInterface, QStringLiteral("Activated"),
                  this, SLOT(onActivated(QDBusMessage)));
}

PortalHotKeyBackend::~PortalHotKeyBackend()
{
    closeSession(m_session);
}

std::optional<QString> PortalHotKeyBackend::preferredTrigger(const GlobalShortcut& shortcut)
{
    const auto name = xkbKeyNames().find(shortcut.keyCode());
    if (name == xkbKeyNames().end() || !shortcut.isValidGlobalShortcut())
        return std::nullopt;
    QStringList parts;
    if (shortcut.hasModifier(GlobalShortcut::commandFlag))
        parts << QStringLiteral("CTRL");
    if (shortcut.hasModifier(GlobalShortcut::optionFlag))
        parts << QStringLiteral("ALT");
    if (shortcut.hasModifier(GlobalShortcut::shiftFlag))
        parts << QStringLiteral("SHIFT");
    if (shortcut.hasModifier(GlobalShortcut::controlFlag))
        parts << QStringLiteral("LOGO");
    parts << QString::fromLatin1(name->second);
    return parts.join(QLatin1Char('+'));
}

QSet<quint32> PortalHotKeyBackend::registerAll(const QList<HotKeyRegistration>& registrations)
{
    ++m_generation;
    closeSession(std::exchange(m_session, QString()));
    m_ids.clear();
    if (registrations.isEmpty())
        return {};
    auto pending = std::make_shared<Pending>();
    pending->generation = m_generation;
    for (const HotKeyRegistration& registration : registrations) {
        const QString id = registration.name.isEmpty() ? QString::number(registration.id) : registration.name;
        QVariantMap properties{{QStringLiteral("description"), registration.description}};
        if (const std::optional<QString> trigger = preferredTrigger(registration.shortcut))
            properties.insert(QStringLiteral("preferred_trigger"), *trigger);
        pending->shortcuts.append({id, properties});
        pending->ids.insert(id, registration.id);
    }
    // KDE registers only what the session is created with; other desktops take the shortcuts in BindShortcuts.
    const QVariantMap options{{QStringLiteral("session_handle_token"), sessionToken},
                              {QStringLiteral("shortcuts"), QVariant::fromValue(pending->shortcuts)}};
    PortalRequest::send(m_bus, {shortcutsInterface, QStringLiteral("CreateSession"), {}, options})
        .then(this, [this, pending](const PortalRequest::Answer& answer) { sessionCreated(pending, answer); });
    return {};
}

bool PortalHotKeyBackend::isCurrent(const Pending& pending) const { return pending.generation == m_generation; }

void PortalHotKeyBackend::sessionCreated(const std::shared_ptr<Pending>& pending, const PortalRequest::Answer& answer)
{
    const QString session = pathOf(answer.results.value(QStringLiteral("session_handle")));
    if (!isCurrent(*pending)) {
        closeSession(session); // replaced while the desktop was answering
        return;
    }
    if (!answer.error.isEmpty() || answer.response != 0 || session.isEmpty()) {
        Q_EMIT refused(QSet<quint32>(pending->ids.cbegin(), pending->ids.cend()));
        return;
    }
    m_session = session;
    if (boundIds(answer.results)) {
        shortcutsBound(pending, answer);
        return;
    }
    PortalRequest::send(m_bus, {shortcutsInterface, QStringLiteral("BindShortcuts"),
                                {QVariant::fromValue(QDBusObjectPath(session)), QVariant::fromValue(pending->shortcuts),
                                 QString()},
                                {}})
        .then(this, [this, pending](const PortalRequest::Answer& bound) { shortcutsBound(pending, bound); });
}

void PortalHotKeyBackend::shortcutsBound(const std::shared_ptr<Pending>& pending, const PortalRequest::Answer& answer)
{
    if (!isCurrent(*pending))
        return;
    const std::optional<QSet<QString>> bound
        = answer.error.isEmpty() && answer.response == 0 ? boundIds(answer.results) : std::nullopt;
    QSet<quint32> refusedIds;
    for (auto it = pending->ids.cbegin(); it != pending->ids.cend(); ++it) {
        if (bound && bound->contains(it.key()))
            m_ids.insert(it.key(), it.value());
        else
            refusedIds.insert(it.value());
    }
    if (!refusedIds.isEmpty())
        Q_EMIT refused(refusedIds);
}

void PortalHotKeyBackend::onActivated(const QDBusMessage& message)
{
    // Activated(o session_handle, s shortcut_id, t timestamp, a{sv} options)
    const QVariantList arguments = message.arguments();
    if (arguments.size() < 2)
        return;
    // The desktop may remember shortcuts of earlier sessions under the same group: only the current ones count.
    if (m_session.isEmpty() || pathOf(arguments.at(0)) != m_session)
        return;
    if (const auto id = m_ids.constFind(arguments.at(1).toString()); id != m_ids.cend())
        Q_EMIT activated(*id);
}

void PortalHotKeyBackend::closeSession(const QString& path)
{
    if (!path.isEmpty())
        m_bus.call(QDBusMessage::createMethodCall(PortalRequest::service, path,
                                                  QStringLiteral("org.freedesktop.portal.Session"), QStringLiteral("Close")),
                   QDBus::NoBlock);
}

} // namespace lumivex
