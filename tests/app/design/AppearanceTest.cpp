// Light and dark: following the desktop's colour scheme through the Settings portal on a private bus, and repainting
// the existing editor with the other tokens without rebuilding it.
#include "../editor/EditorViewFixture.h"

#include "app/design/Appearance.h"
#include "app/design/Design.h"
#include "support/FakeSettingsPortal.h"
#include "support/PrivateBus.h"

#include <QDBusConnection>
#include <QScreen>

namespace lumivex::test {
namespace {

using Design::Token;

TEST(AppearancePortal, FollowsTheDesktopsColourSchemeAndItsChanges)
{
    PrivateBus bus;
    ASSERT_TRUE(bus.isRunning());
    FakeSettingsPortal portal(bus.address(), 1);
    ASSERT_TRUE(portal.isServing());
    const QDBusConnection client = QDBusConnection::connectToBus(bus.address(), QStringLiteral("appearance-test"));

    Appearance appearance;
    appearance.followPortal(client);
    EXPECT_EQ(appearance.scheme(), ColorScheme::dark) << "read at start";

    portal.changeUnrelated();
    portal.change(2);
    EXPECT_TRUE(QTest::qWaitFor([&] { return appearance.scheme() == ColorScheme::light; }, 5000));
    portal.change(1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return appearance.scheme() == ColorScheme::dark; }, 5000));
    // "No preference" leaves it to the palette, which is light here.
    portal.change(0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return appearance.scheme() == ColorScheme::light; }, 5000));

    appearance.setOverride(ColorScheme::dark);
    portal.change(2);
    QTest::qWait(50);
    EXPECT_EQ(appearance.scheme(), ColorScheme::dark) << "an explicit choice wins over the desktop";
    EXPECT_EQ(appearance.systemScheme(), ColorScheme::light);
    QDBusConnection::disconnectFromBus(QStringLiteral("appearance-test"));
}

TEST(AppearancePortal, WithoutAPortalThePaletteDecides)
{
    PrivateBus bus;
    ASSERT_TRUE(bus.isRunning());
    const QDBusConnection client = QDBusConnection::connectToBus(bus.address(), QStringLiteral("no-portal-test"));
    Appearance appearance;
    appearance.followPortal(client);
    EXPECT_EQ(appearance.scheme(), ColorScheme::light);
    EXPECT_FALSE(Appearance::fromPortalValue(QVariant(7u)).has_value());
    EXPECT_FALSE(Appearance::fromPortalValue(QVariant(QStringLiteral("dark"))).has_value());
    QDBusConnection::disconnectFromBus(QStringLiteral("no-portal-test"));
}

class AppearanceRepaint : public EditorViewFixture {
protected:
    void TearDown() override
    {
        Appearance::instance().setOverride(std::nullopt);
        EditorViewFixture::TearDown();
    }
    // What the window shows on screen now, without asking it to paint.
    QImage shown()
    {
        QApplication::processEvents();
        return QGuiApplication::primaryScreen()->grabWindow(view().winId()).toImage();
    }
    QColor at(const QImage& screen, QWidget* widget, QPoint point)
    {
        return screen.pixelColor(widget->mapTo(&view(), point));
    }
};

TEST_F(AppearanceRepaint, SwitchingToDarkRepaintsTheSameWidgetsWithTheDarkTokens)
{
    Appearance::instance().setOverride(ColorScheme::light);
    const QList<QWidget*> widgets = view().findChildren<QWidget*>();
    QImage screen = shown();
    ToolbarView* toolbar = view().toolbar();
    const QPoint toolbarSpot(toolbar->width() / 2, 3);
    EXPECT_EQ(at(screen, toolbar, toolbarSpot), Design::color(Token::chrome, ColorScheme::light));

    Appearance::instance().setOverride(ColorScheme::dark);
    screen = shown();
    EXPECT_EQ(view().findChildren<QWidget*>(), widgets) << "nothing was rebuilt";
    EXPECT_EQ(at(screen, toolbar, toolbarSpot), Design::color(Token::chrome, ColorScheme::dark));
    EXPECT_EQ(at(screen, inspector().widget(), QPoint(3, 3)), Design::color(Token::inspector, ColorScheme::dark));
    EXPECT_EQ(at(screen, view().canvas(), QPoint(3, 3)), Design::color(Token::nsCanvas, ColorScheme::dark));
    EXPECT_EQ(view().palette().color(QPalette::WindowText), Design::color(Token::ink, ColorScheme::dark))
        << "standard widgets get the dark palette";
}

} // namespace
} // namespace lumivex::test
