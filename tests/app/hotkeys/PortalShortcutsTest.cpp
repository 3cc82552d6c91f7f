// Global shortcuts through the GlobalShortcuts portal: the trigger notation, the hint for desktops without the
// portal, and the real KDE backend on the private Wayland desktop, activated through kglobalaccel.

#include "app/hotkeys/DesktopKeybinding.h"
#include "app/hotkeys/HotKeyCenter.h"
#include "app/platform/PortalHotKeyBackend.h"
#include "core/settings/CaptureSettings.h"
#include "core/settings/SettingsFileStore.h"
#include "support/WaylandStack.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>

namespace lumivex::test {
namespace {

TEST(PortalShortcutNotation, TriggersAndDesktopHints)
{
    const std::vector<std::pair<GlobalShortcut, std::optional<QString>>> triggers{
        {{21, GlobalShortcut::shiftFlag | GlobalShortcut::commandFlag}, "CTRL+SHIFT+4"},
        {{9, GlobalShortcut::controlFlag | GlobalShortcut::optionFlag}, "ALT+LOGO+v"},
        {{36, GlobalShortcut::commandFlag}, "CTRL+Return"},
        {{105, GlobalShortcut::commandFlag}, std::nullopt}, // no name in the table: the desktop chooses
    };
    for (const auto& [shortcut, trigger] : triggers)
        EXPECT_EQ(PortalHotKeyBackend::preferredTrigger(shortcut), trigger) << shortcut.displayString().toStdString();

    const GlobalShortcut ctrlShiftE(14, GlobalShortcut::shiftFlag | GlobalShortcut::commandFlag);
    EXPECT_EQ(DesktopKeybinding::hint(HotKeyAction::area, ctrlShiftE, "lumivex"),
              "데스크톱의 키보드 설정에서 사용자 지정 단축키(Ctrl+Shift+E)를 추가하고 다음 명령을 지정하세요: "
              "lumivex --capture=area");
    EXPECT_EQ(DesktopKeybinding::hint(HotKeyAction::fullScreen, std::nullopt, "/opt/lumivex/bin/lumivex"),
              "데스크톱의 키보드 설정에서 사용자 지정 단축키를 추가하고 다음 명령을 지정하세요: "
              "/opt/lumivex/bin/lumivex --capture=fullscreen");
    EXPECT_FALSE(DesktopKeybinding::hint(HotKeyAction::clipboard, ctrlShiftE, "lumivex"));
}

bool processEventsUntil(const std::function<bool()>& condition, int timeoutMs = 20000)
{
    for (int waited = 0; waited < timeoutMs && !condition(); waited += 20) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(10);
    }
    return condition();
}

TEST(WaylandGlobalShortcuts, KdeActivationRunsTheActionOfTheCurrentRegistrationsOnly)
{
    WaylandStack stack({{{1280, 720}, 1}}, true);
    ASSERT_TRUE(stack.isRunning()) << stack.errorString().toStdString();
    QTemporaryDir directory;
    SettingsFileStore store(directory.filePath("lumivex.conf"));
    CaptureSettings settings(store);
    settings.setWindowShortcut(GlobalShortcut(21, GlobalShortcut::shiftFlag | GlobalShortcut::commandFlag));
    std::vector<HotKeyAction> ran;
    HotKeyCenter center(settings,
                        std::make_unique<PortalHotKeyBackend>(QDBusConnection::connectToBus(
                            stack.value("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("lumivex-shortcuts"))),
                        [&](HotKeyAction action) { ran.push_back(action); });
    // What a key press in KDE does: kglobalaccel invokes the shortcut of our group.
    const auto press = [&](const QString& shortcut) {
        return stack.run("gdbus", {"call", "--session", "--dest", "org.kde.kglobalaccel", "--object-path",
                                   "/component/lumivex", "--method", "org.kde.kglobalaccel.Component.invokeShortcut",
                                   shortcut}).ok();
    };
    const auto pressUntilRun = [&](const QString& shortcut, HotKeyAction action) {
        return processEventsUntil([&] {
            if (!ran.empty() && ran.back() == action)
                return true;
            press(shortcut);
            return processEventsUntil([&] { return !ran.empty() && ran.back() == action; }, 200);
        }, 5000);
    };
    ASSERT_TRUE(pressUntilRun("area", HotKeyAction::area));
    EXPECT_TRUE(center.failed().empty());

    // Without an area shortcut the desktop still knows "area" from before, but it must run nothing now.
    settings.setAreaShortcut(std::nullopt);
    ran.clear();
    ASSERT_TRUE(pressUntilRun("window", HotKeyAction::window));
    ran.clear();
    ASSERT_TRUE(press("area"));
    ASSERT_TRUE(press("window"));
    // The desktop reports in order: an area run would come before this window run.
    ASSERT_TRUE(processEventsUntil([&] { return std::count(ran.begin(), ran.end(), HotKeyAction::window) > 0; }));
    EXPECT_EQ(std::count(ran.begin(), ran.end(), HotKeyAction::area), 0);
}

} // namespace
} // namespace lumivex::test
