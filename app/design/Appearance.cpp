#include "app/design/Appearance.h"

#include <QApplication>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QEvent>
#include <QFileInfo>
#include <QWidget>

namespace lumivex {

namespace {

// The portal answers within milliseconds when it runs; a hung bus must not hold up the first window for long.
constexpr int kPortalReadTimeoutMs = 400;

// Read() wraps the value in one more variant than SettingChanged does; peel every layer.
QVariant unwrapped(QVariant value)
{
    while (value.canConvert<QDBusVariant>() && value.userType() == qMetaTypeId<QDBusVariant>())
        value = qvariant_cast<QDBusVariant>(value).variant();
    return value;
}

// Only a session bus that exists: asking libdbus for one that does not may start a bus of its own.
bool sessionBusExists()
{
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus"));
}

} // namespace

Appearance& Appearance::instance()
{
    static Appearance* appearance = [] {
        auto* created = new Appearance(QCoreApplication::instance());
        if (sessionBusExists())
            created->followPortal(QDBusConnection::sessionBus());
        return created;
    }();
    return *appearance;
}

Appearance::Appearance(QObject* parent)
    : QObject(parent)
    , m_system(paletteScheme())
{
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(this);
}

std::optional<ColorScheme> Appearance::fromPortalValue(const QVariant& value)
{
    const QVariant plain = unwrapped(value);
    bool ok = false;
    const uint scheme = plain.toUInt(&ok);
    if (!ok)
        return std::nullopt;
    if (scheme == 1)
        return ColorScheme::dark;
    if (scheme == 2)
        return ColorScheme::light;
    return std::nullopt;
}

void Appearance::followPortal(const QDBusConnection& bus)
{
    if (!bus.isConnected())
        return;
    QDBusConnection connection(bus);
    // The slot is looked up by its signature's type names, which must be known by then.
    qRegisterMetaType<QDBusVariant>();
    connection.connect(QString::fromLatin1(portalService), QString::fromLatin1(portalPath),
                       QString::fromLatin1(portalInterface), QStringLiteral("SettingChanged"), this,
                       SLOT(portalSettingChanged(QString,QString,QDBusVariant)));

    QDBusMessage read = QDBusMessage::createMethodCall(QString::fromLatin1(portalService), QString::fromLatin1(portalPath),
                                                       QString::fromLatin1(portalInterface), QStringLiteral("Read"));
    read << QString::fromLatin1(appearanceNamespace) << QString::fromLatin1(colorSchemeKey);
    const QDBusMessage reply = connection.call(read, QDBus::Block, kPortalReadTimeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
        setPortalScheme(fromPortalValue(reply.arguments().constFirst()));
}

void Appearance::portalSettingChanged(const QString& settingsNamespace, const QString& key, const QDBusVariant& value)
{
    if (settingsNamespace == QLatin1String(appearanceNamespace) && key == QLatin1String(colorSchemeKey))
        setPortalScheme(fromPortalValue(value.variant()));
}

void Appearance::setPortalScheme(std::optional<ColorScheme> scheme)
{
    const ColorScheme before = this->scheme();
    m_portal = scheme;
    m_system = m_portal.value_or(paletteScheme());
    update(before);
}

void Appearance::setOverride(std::optional<ColorScheme> scheme)
{
    const ColorScheme before = this->scheme();
    m_override = scheme;
    update(before);
}

ColorScheme Appearance::paletteScheme()
{
    // Our windows carry their own palettes; the application palette stays the platform's.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return ColorScheme::light;
    return QGuiApplication::palette().color(QPalette::Window).lightness() < 128 ? ColorScheme::dark
                                                                                : ColorScheme::light;
}

bool Appearance::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == QCoreApplication::instance() && event->type() == QEvent::ApplicationPaletteChange && !m_portal) {
        const ColorScheme before = scheme();
        m_system = paletteScheme();
        update(before);
    }
    return QObject::eventFilter(watched, event);
}

void Appearance::style(QWidget* window) const
{
    window->setPalette(Design::palette(scheme()));
}

void Appearance::update(ColorScheme before)
{
    if (scheme() == before)
        return;
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            style(window);
            // Widgets that paint tokens without reading the palette repaint too.
            window->update();
            for (QWidget* child : window->findChildren<QWidget*>())
                child->update();
        }
    }
    Q_EMIT schemeChanged(scheme());
}

} // namespace lumivex
