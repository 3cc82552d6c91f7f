// lumivex_test_screen_scales: prints, for each screen Qt finds on the X display, its name and device pixel
// ratio ("NAME RATIO" per line, in Qt's screen order). Tests compare our own reading of the display's scale
// with Qt's, under the same environment and X resources.

#include <QGuiApplication>
#include <QScreen>

#include <cstdio>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    for (const QScreen* screen : QGuiApplication::screens())
        std::printf("%s %.17g\n", qPrintable(screen->name()), screen->devicePixelRatio());
    return 0;
}
