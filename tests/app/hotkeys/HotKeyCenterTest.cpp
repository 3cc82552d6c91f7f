#include "app/hotkeys/HotKeyCenter.h"
#include "app/hotkeys/HotKeyLaunchWarning.h"
#include "app/platform/NullHotKeyBackend.h"
#include "app/platform/VirtualKeyCodes.h"
#include "app/platform/PortalHotKeyBackend.h"
#include "core/settings/CaptureSettings.h"
#include "core/settings/SettingsFileStore.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace lumivex;

namespace {

const GlobalShortcut ctrlShiftE(14, 0x120000);
const GlobalShortcut ctrlShift4(21, 0x120000);

class HotKeyCenterTest : public testing::Test {
protected:
    QTemporaryDir m_dir;
    SettingsFileStore m_store{m_dir.filePath("lumivex.conf")};
    CaptureSettings m_settings{m_store};
};

TEST_F(HotKeyCenterTest, RegistersDistinctCombinationsAndDeliversPressesInALaterTurn)
{
    m_settings.setWindowShortcut(ctrlShiftE);                                             // same as area
    m_settings.setFullScreenShortcut(*GlobalShortcut::decoded(R"({"keyCode":3,"modifierFlags":0})")); // no modifier
    std::vector<HotKeyAction> pressed;
    auto owned = std::make_unique<NullHotKeyBackend>();
    NullHotKeyBackend& backend = *owned;
    HotKeyCenter center(m_settings, std::move(owned), [&pressed](HotKeyAction action) { pressed.push_back(action); });

    EXPECT_EQ(center.failed(), std::set{HotKeyAction::window});
    ASSERT_EQ(backend.registrations().size(), 2);
    EXPECT_EQ(backend.registrations()[0].shortcut, ctrlShiftE);
    EXPECT_EQ(backend.registrations()[1].shortcut, CaptureSettings::defaultClipboardShortcut());

    ASSERT_TRUE(backend.press(ctrlShiftE));
    EXPECT_TRUE(pressed.empty()); // never inside the platform's event delivery
    QCoreApplication::processEvents();
    EXPECT_EQ(pressed, std::vector{HotKeyAction::area});

    // Several changes make one reload in the next turn; a press of a replaced registration finds nothing.
    QSignalSpy failedChanges(&center, &HotKeyCenter::failedChanged);
    const quint32 replacedArea = backend.registrations()[0].id;
    m_settings.setWindowShortcut(ctrlShift4);
    m_settings.setCloseAfterCopy(true);
    EXPECT_EQ(backend.registerCount(), 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(backend.registerCount(), 2);
    Q_EMIT backend.activated(replacedArea);
    QCoreApplication::processEvents();
    EXPECT_EQ(pressed, std::vector{HotKeyAction::area});
    EXPECT_TRUE(center.failed().empty());
    EXPECT_EQ(failedChanges.count(), 1);

    // A backend that answers late (the portal) can still refuse.
    Q_EMIT backend.refused({backend.registrations()[1].id});
    EXPECT_EQ(center.failed(), std::set{HotKeyAction::window});
    ASSERT_TRUE(backend.press(ctrlShift4));
    QCoreApplication::processEvents();
    EXPECT_EQ(pressed, std::vector{HotKeyAction::area});
}

TEST_F(HotKeyCenterTest, WithoutAShortcutsPortalEveryActionFailsAndTheLaunchWarningListsThem)
{
    m_settings.setWindowShortcut(ctrlShift4);
    HotKeyCenter center(m_settings, std::make_unique<PortalHotKeyBackend>(QDBusConnection::connectToBus(
                                        QStringLiteral("unix:path=/nonexistent/bus"), QStringLiteral("no-bus"))));
    const std::set expected{HotKeyAction::area, HotKeyAction::window, HotKeyAction::clipboard};
    for (int i = 0; i < 100 && center.failed() != expected; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(center.failed(), expected);
    EXPECT_FALSE(HotKeyLaunchWarning::build({}, m_settings));

    m_settings.setAreaShortcut(std::nullopt);
    const std::optional<HotKeyLaunchWarning> warning =
        HotKeyLaunchWarning::build({HotKeyAction::clipboard, HotKeyAction::area, HotKeyAction::window}, m_settings);
    ASSERT_TRUE(warning);
    EXPECT_EQ(warning->message, "단축키를 등록하지 못했습니다");
    EXPECT_EQ(warning->informativeText, "영역 캡처 (), 창 캡처 (Ctrl+Shift+4), 클립보드 이미지 편집 (Alt+Super+V)\n\n"
                                        "다른 앱이 같은 단축키를 쓰고 있을 수 있습니다.\n"
                                        "설정(Ctrl+,)에서 다른 단축키를 지정할 수도 있습니다.");
    EXPECT_EQ(warning->openSettingsButton, "설정 열기");
    EXPECT_EQ(warning->closeButton, "닫기");
}

// The key names and the key-position table are written independently; every named key must agree.
TEST(GlobalShortcutKeyNames, AgreeWithTheKeyPositionsOfTheUsLayout)
{
    for (const QChar c : QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-=[];',./\\`")) {
        const std::optional<std::uint16_t> code = VirtualKeyCodes::fromQtKey(c.unicode(), Qt::NoModifier);
        ASSERT_TRUE(code) << c.toLatin1();
        EXPECT_EQ(GlobalShortcut::keyName(*code), QString(c));
    }
    const std::vector<std::pair<int, QString>> named = {
        {Qt::Key_Space, "Space"}, {Qt::Key_Return, "↩"}, {Qt::Key_Tab, "⇥"}, {Qt::Key_Backspace, "⌫"},
        {Qt::Key_Left, "←"},      {Qt::Key_Right, "→"},  {Qt::Key_Up, "↑"},  {Qt::Key_Down, "↓"}};
    for (const auto& [key, name] : named)
        EXPECT_EQ(GlobalShortcut::keyName(*VirtualKeyCodes::fromQtKey(key, Qt::NoModifier)), name);
    for (int n = 1; n <= 12; ++n)
        EXPECT_EQ(GlobalShortcut::keyName(*VirtualKeyCodes::fromQtKey(Qt::Key_F1 + n - 1, Qt::NoModifier)),
                  QStringLiteral("F%1").arg(n));
}

} // namespace
