// The hot-key centre in a process of its own, on Qt's xcb connection as in the application:
//   lumivex_hotkey_probe SETTINGS_FILE
// Prints "failed <actions>" after the first registration and whenever the failures change, and
// "pressed <action>" for every shortcut that reaches the handler.

#include "app/hotkeys/HotKeyCenter.h"
#include "core/settings/CaptureSettings.h"
#include "core/settings/SettingsFileStore.h"

#include <QGuiApplication>
#include <QStringList>

#include <cstdio>

using namespace lumivex;

namespace {

void printFailed(const HotKeyCenter& center)
{
    QStringList names;
    for (const HotKeyAction action : center.failed())
        names.append(HotKeyActions::rawValue(action));
    std::printf("failed %s\n", qPrintable(names.join(QLatin1Char(','))));
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    if (argc != 2)
        return 2;
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    SettingsFileStore store(QString::fromLocal8Bit(argv[1]));
    CaptureSettings settings(store);
    HotKeyCenter center(settings, [](HotKeyAction action) {
        std::printf("pressed %s\n", qPrintable(HotKeyActions::rawValue(action)));
    });
    printFailed(center);
    QObject::connect(&center, &HotKeyCenter::failedChanged, [&center] { printFailed(center); });
    return application.exec();
}
