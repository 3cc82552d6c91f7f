// The pixels per point we work out for each monitor without Qt's platform layer, beside what Qt itself gives its
// screens (lumivex_test_screen_scales starts a QGuiApplication on the display) under the same X resources and
// environment, on a private Xvfb with two monitors.

#include "app/platform/X11Connection.h"
#include "app/platform/X11PixelScale.h"
#include "app/platform/X11ScreenGrabber.h"
#include "support/XServer.h"

#include <gtest/gtest.h>

#include <QMap>

namespace lumivex::test {
namespace {

const QStringList qtScalingVariables{"QT_ENABLE_HIGHDPI_SCALING", "QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS",
                                     "QT_SCALE_FACTOR_ROUNDING_POLICY", "QT_FONT_DPI", "QT_USE_PHYSICAL_DPI"};

struct Setting {
    const char* name;
    QByteArray xResources;
    QStringList environment; // "NAME=value"
};

// Qt's ratio for each screen, by name.
QMap<QString, double> qtRatios(const XServer& server, const QStringList& environment)
{
    QStringList changes = qtScalingVariables; // none of the caller's own
    changes += environment;
    const ChildProcess::Result result = ChildProcess::run(QStringLiteral(LUMIVEX_TEST_SCREEN_SCALES_EXECUTABLE), {},
                                                          server.environmentList(changes), 20000);
    QMap<QString, double> ratios;
    for (const QByteArray& line : result.output.split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() == 2)
            ratios.insert(QString::fromUtf8(fields[0]), fields[1].toDouble());
    }
    return ratios;
}

X11PixelScale::Settings settingsFor(const Setting& setting)
{
    X11PixelScale::Settings settings;
    settings.xResources = setting.xResources;
    const QMap<QString, std::optional<QByteArray>*> fields{
        {"QT_ENABLE_HIGHDPI_SCALING", &settings.enableHighDpiScaling}, {"QT_SCALE_FACTOR", &settings.scaleFactor},
        {"QT_SCREEN_SCALE_FACTORS", &settings.screenScaleFactors},
        {"QT_SCALE_FACTOR_ROUNDING_POLICY", &settings.roundingPolicy}, {"QT_FONT_DPI", &settings.fontDpi},
        {"QT_USE_PHYSICAL_DPI", &settings.usePhysicalDpi}};
    for (const QString& entry : setting.environment)
        *fields.value(entry.section('=', 0, 0)) = entry.section('=', 1).toUtf8();
    return settings;
}

void setXResources(X11Connection& connection, const QByteArray& resources)
{
    xcb_change_property(connection.get(), XCB_PROP_MODE_REPLACE, connection.root(), XCB_ATOM_RESOURCE_MANAGER,
                        XCB_ATOM_STRING, 8, uint32_t(resources.size()), resources.constData());
    xcb_flush(connection.get());
}

TEST(X11PixelScale, EveryMonitorGetsTheRatioQtGivesItsScreen)
{
    XServer server(XServer::Options{1280, 800, true, true});
    ASSERT_TRUE(server.isRunning()) << server.errorString().toStdString();
    ASSERT_TRUE(server.setMonitors({{0, 0, 640, 800}, {640, 0, 640, 800}}));
    const std::shared_ptr<X11Connection> connection = X11Connection::open(server.display().toLatin1());
    ASSERT_TRUE(connection);
    const QList<X11ScreenGrabber::Monitor> monitors = X11ScreenGrabber(connection).monitors();
    ASSERT_EQ(monitors.size(), 2);

    const QByteArray dpi144 = "Xft.antialias:\t1\nXft.dpi:\t144\n";
    for (const Setting& setting : std::initializer_list<Setting>{
             {"nothing set", "", {}},
             {"Xft.dpi", dpi144, {}},
             {"Xft.dpi rounded up", dpi144, {"QT_SCALE_FACTOR_ROUNDING_POLICY=Round"}},
             {"Xft.dpi rounded down", dpi144, {"QT_SCALE_FACTOR_ROUNDING_POLICY=roundpreferfloor"}},
             {"low Xft.dpi", "Xft.dpi:\t40\n", {}},
             {"fractional Xft.dpi", "Xft.dpi:\t144.5\n", {}},
             {"Xft.dpi without its tab", "Xft.dpi: 192\n", {}},
             {"QT_FONT_DPI over Xft.dpi", dpi144, {"QT_FONT_DPI=120"}},
             {"scaling turned off", "Xft.dpi:\t192\n", {"QT_ENABLE_HIGHDPI_SCALING=0"}},
             {"global factor", dpi144, {"QT_SCALE_FACTOR=2"}},
             {"screen factor by name", dpi144, {"QT_SCREEN_SCALE_FACTORS=m1=3"}},
             {"screen factors by order", "", {"QT_SCREEN_SCALE_FACTORS=;2;0.5", "QT_SCALE_FACTOR=1.5"}},
             {"screen factors with scaling off", "", {"QT_SCREEN_SCALE_FACTORS=1.25", "QT_ENABLE_HIGHDPI_SCALING=0"}},
             {"physical DPI", dpi144, {"QT_USE_PHYSICAL_DPI=1"}}}) {
        SCOPED_TRACE(setting.name);
        setXResources(*connection, setting.xResources);
        const QMap<QString, double> expected = qtRatios(server, setting.environment);
        ASSERT_EQ(expected.size(), monitors.size());
        const X11PixelScale scale(settingsFor(setting));
        for (const X11ScreenGrabber::Monitor& monitor : monitors)
            EXPECT_DOUBLE_EQ(scale.forMonitor(monitor), expected.value(monitor.name)) << monitor.name.toStdString();
    }
}

} // namespace
} // namespace lumivex::test
