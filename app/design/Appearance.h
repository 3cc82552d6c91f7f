#pragma once

#include "app/design/Design.h"

#include <QDBusConnection>
#include <QObject>

#include <optional>

class QDBusVariant;
class QWidget;

namespace lumivex {

// The light or dark appearance of every window. With no explicit choice it follows the desktop: the
// freedesktop appearance setting ("color-scheme" in the "org.freedesktop.appearance" namespace of the Settings
// portal, which GNOME and KDE provide), else the lightness of the platform's palette. A change restyles and
// repaints the windows that exist; nothing is rebuilt.
class Appearance : public QObject {
    Q_OBJECT

public:
    static constexpr const char* portalService = "org.freedesktop.portal.Desktop";
    static constexpr const char* portalPath = "/org/freedesktop/portal/desktop";
    static constexpr const char* portalInterface = "org.freedesktop.portal.Settings";
    static constexpr const char* appearanceNamespace = "org.freedesktop.appearance";
    static constexpr const char* colorSchemeKey = "color-scheme";

    // The application's one instance; on first use it starts following the portal on the session bus.
    static Appearance& instance();

    explicit Appearance(QObject* parent = nullptr);

    // What the windows show now.
    ColorScheme scheme() const { return m_override.value_or(m_system); }
    // An explicit light or dark choice; none follows the desktop.
    std::optional<ColorScheme> override() const { return m_override; }
    void setOverride(std::optional<ColorScheme> scheme);
    // What the desktop asks for.
    ColorScheme systemScheme() const { return m_system; }

    // Reads the portal's colour scheme on that bus (waiting a short moment at most) and follows its changes.
    // Without a portal the palette's lightness decides.
    void followPortal(const QDBusConnection& bus);

    // Gives a window (and, through it, its children) the palette of the current scheme. Every window this
    // application shows is styled here, at creation and again on each change.
    void style(QWidget* window) const;

    // The portal's value: 1 prefers dark, 2 prefers light, anything else (0 is "no preference") has no say.
    static std::optional<ColorScheme> fromPortalValue(const QVariant& value);

Q_SIGNALS:
    void schemeChanged(ColorScheme scheme);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private Q_SLOTS:
    void portalSettingChanged(const QString& settingsNamespace, const QString& key, const QDBusVariant& value);

private:
    void setPortalScheme(std::optional<ColorScheme> scheme);
    void update(ColorScheme before);
    static ColorScheme paletteScheme();

    std::optional<ColorScheme> m_override;
    std::optional<ColorScheme> m_portal;
    ColorScheme m_system = ColorScheme::light;
};

} // namespace lumivex
