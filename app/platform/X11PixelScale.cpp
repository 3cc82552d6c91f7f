#include "app/platform/X11PixelScale.h"

#include "app/platform/X11Connection.h"

#include <QList>

#include <cmath>

namespace lumivex {
namespace {

std::optional<QByteArray> environmentValue(const char* name)
{
    if (!qEnvironmentVariableIsSet(name))
        return std::nullopt;
    return qgetenv(name);
}

// Qt reads its integer variables with base 0 (so "0x60" is 96) and its factors as decimal numbers.
std::optional<int> integerValue(const std::optional<QByteArray>& value)
{
    bool ok = false;
    const int number = value ? value->toInt(&ok, 0) : 0;
    return ok ? std::optional<int>(number) : std::nullopt;
}

std::optional<double> positiveNumber(QByteArrayView text)
{
    bool ok = false;
    const double number = QString::fromLatin1(text).toDouble(&ok);
    return ok && number > 0 && std::isfinite(number) ? std::optional<double>(number) : std::nullopt;
}

constexpr double baseDpi = 96;

} // namespace

X11PixelScale::Settings X11PixelScale::Settings::current(X11Connection& connection)
{
    Settings settings;
    settings.enableHighDpiScaling = environmentValue("QT_ENABLE_HIGHDPI_SCALING");
    settings.scaleFactor = environmentValue("QT_SCALE_FACTOR");
    settings.screenScaleFactors = environmentValue("QT_SCREEN_SCALE_FACTORS");
    settings.roundingPolicy = environmentValue("QT_SCALE_FACTOR_ROUNDING_POLICY");
    settings.fontDpi = environmentValue("QT_FONT_DPI");
    settings.usePhysicalDpi = environmentValue("QT_USE_PHYSICAL_DPI");
    if (const auto resources = connection.property(connection.root(), XCB_ATOM_RESOURCE_MANAGER))
        settings.xResources = resources->bytes;
    return settings;
}

double X11PixelScale::forMonitor(const X11ScreenGrabber::Monitor& monitor) const
{
    const double global = m_settings.scaleFactor ? positiveNumber(*m_settings.scaleFactor).value_or(1) : 1;
    const std::optional<double> fromEnvironment = screenFactorFromEnvironment(monitor);
    if (fromEnvironment)
        return global * *fromEnvironment;
    const bool fromDpi = integerValue(m_settings.enableHighDpiScaling).value_or(1) > 0;
    return global * (fromDpi ? rounded(platformFactor(monitor)) : 1.0);
}

// QT_SCREEN_SCALE_FACTORS is "2;1.5" (by Qt's screen order) or "DP-1=2;HDMI-1=1.5" (by name). Entries that are
// no positive number are dropped before the positions are counted; a later entry for a screen wins.
std::optional<double> X11PixelScale::screenFactorFromEnvironment(const X11ScreenGrabber::Monitor& monitor) const
{
    if (!m_settings.screenScaleFactors)
        return std::nullopt;
    std::optional<double> factor;
    int position = 0;
    for (const QByteArray& entry : m_settings.screenScaleFactors->split(';')) {
        const qsizetype equals = entry.lastIndexOf('=');
        const std::optional<double> value = positiveNumber(entry.mid(equals + 1));
        if (!value)
            continue;
        const bool matches = equals < 0 ? position == monitor.qtOrder
                                        : QString::fromLocal8Bit(entry.left(equals)) == monitor.name;
        if (matches)
            factor = value;
        ++position;
    }
    return factor;
}

double X11PixelScale::platformFactor(const X11ScreenGrabber::Monitor& monitor) const
{
    if (integerValue(m_settings.usePhysicalDpi).value_or(0) > 0) {
        const QSize mm = monitor.millimetres;
        if (mm.width() <= 0 || mm.height() <= 0)
            return 1;
        const double physicalDpi
            = (monitor.rect.height() / double(mm.height()) + monitor.rect.width() / double(mm.width())) * 25.4 * 0.5;
        return std::round(physicalDpi) / baseDpi;
    }
    const int fontDpi = integerValue(m_settings.fontDpi).value_or(0);
    const int dpi = fontDpi > 0 ? fontDpi : xftDpi();
    return (dpi > 0 ? dpi : baseDpi) / baseDpi;
}

double X11PixelScale::rounded(double factor) const
{
    const QByteArray policy = m_settings.roundingPolicy.value_or(QByteArray()).toLower();
    double result = factor; // "PassThrough", also Qt's default
    if (policy == "round")
        result = std::round(factor);
    else if (policy == "ceil")
        result = std::ceil(factor);
    else if (policy == "floor")
        result = std::floor(factor);
    else if (policy == "roundpreferfloor")
        result = factor - std::floor(factor) < 0.75 ? std::floor(factor) : std::ceil(factor);
    return std::max(result, 1.0);
}

// The X resources are "name:\tvalue" lines; Qt reads Xft.dpi as a number rounded to a whole one.
int X11PixelScale::xftDpi() const
{
    int dpi = 0;
    const QByteArray key = "Xft.dpi:\t";
    for (const QByteArray& line : m_settings.xResources.split('\n')) {
        if (!line.startsWith(key))
            continue;
        bool ok = false;
        const double value = line.mid(key.size()).toDouble(&ok);
        if (ok && std::isfinite(value))
            dpi = int(std::round(value));
    }
    return dpi;
}

} // namespace lumivex
