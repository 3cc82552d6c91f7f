#pragma once

#include "app/platform/X11ScreenGrabber.h"

#include <QByteArray>

#include <optional>

namespace lumivex {

class X11Connection;

// The pixels per point of a monitor exactly as Qt's xcb platform gives them to its screens (the device pixel
// ratio), worked out without a QGuiApplication: the full-screen capture to a file needs nothing else from Qt's
// platform layer, and starting it would cost more than the capture. The rules are those of Qt 6.4 on X11, checked
// against Qt itself by the tests: Xft.dpi (or QT_FONT_DPI) over 96 dots per inch, or the physical DPI with
// QT_USE_PHYSICAL_DPI, rounded by QT_SCALE_FACTOR_ROUNDING_POLICY and at least 1, replaced per screen by
// QT_SCREEN_SCALE_FACTORS and multiplied by QT_SCALE_FACTOR; QT_ENABLE_HIGHDPI_SCALING=0 turns the DPI part off.
class X11PixelScale {
public:
    // Values of the environment variables above (unset ones stay empty) and the display's X resources.
    struct Settings {
        std::optional<QByteArray> enableHighDpiScaling;
        std::optional<QByteArray> scaleFactor;
        std::optional<QByteArray> screenScaleFactors;
        std::optional<QByteArray> roundingPolicy;
        std::optional<QByteArray> fontDpi;
        std::optional<QByteArray> usePhysicalDpi;
        QByteArray xResources; // the root window's RESOURCE_MANAGER property

        // This process's environment and the resources of the connection's display.
        static Settings current(X11Connection& connection);
    };

    explicit X11PixelScale(Settings settings) : m_settings(std::move(settings)) {}

    double forMonitor(const X11ScreenGrabber::Monitor& monitor) const;

private:
    double platformFactor(const X11ScreenGrabber::Monitor& monitor) const;
    std::optional<double> screenFactorFromEnvironment(const X11ScreenGrabber::Monitor& monitor) const;
    double rounded(double factor) const;
    int xftDpi() const;

    Settings m_settings;
};

} // namespace lumivex
