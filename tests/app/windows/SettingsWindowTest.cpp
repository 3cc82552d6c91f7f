// The settings window's recorders, switches and language choice, and the start window's hints and drops,
// driven with real key and drop events.
#include "app/hotkeys/HotKeyCenter.h"
#include "app/platform/NullHotKeyBackend.h"
#include "app/design/DesignToggle.h"
#include "app/windows/SettingsWindow.h"
#include "app/windows/ShortcutRecorderRow.h"
#include "app/windows/StartWindow.h"
#include "core/settings/CaptureSettings.h"
#include "core/settings/SettingsFileStore.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

namespace lumivex::test {
namespace {

constexpr std::uint64_t ctrl = GlobalShortcut::commandFlag, alt = GlobalShortcut::optionFlag,
                        shift = GlobalShortcut::shiftFlag;

TEST(ShortcutRecorderRow, KeyPressesWhileRecordingFollowTheRules)
{
    using Outcome = ShortcutRecorderRow::Outcome;
    struct Case {
        const char* name;
        std::optional<std::uint16_t> code;
        Qt::KeyboardModifiers modifiers;
        int key;
        Outcome outcome;
        std::optional<GlobalShortcut> result;
    };
    const Case cases[] = {
        {"Ctrl+Escape is a shortcut, not a cancel", 53, Qt::ControlModifier, Qt::Key_Escape, Outcome::set, GlobalShortcut(53, ctrl)},
        {"Shift+Backspace is a shortcut", 51, Qt::ShiftModifier, Qt::Key_Backspace, Outcome::set, GlobalShortcut(51, shift)},
        {"Escape cancels", 53, {}, Qt::Key_Escape, Outcome::cancelled, std::nullopt},
        {"Backspace clears", 51, {}, Qt::Key_Backspace, Outcome::cleared, std::nullopt},
        {"a letter alone beeps", 0, {}, Qt::Key_A, Outcome::beep, std::nullopt},
        {"a modifier on its way is no key", 59, Qt::ControlModifier, Qt::Key_Control, Outcome::ignored, std::nullopt},
        {"a key without a position", std::nullopt, Qt::ControlModifier, Qt::Key_Hangul, Outcome::ignored, std::nullopt},
        {"Super+Alt+V", 9, Qt::MetaModifier | Qt::AltModifier, Qt::Key_V, Outcome::set,
         GlobalShortcut(9, GlobalShortcut::controlFlag | alt)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::optional<GlobalShortcut> result = GlobalShortcut(1, ctrl); // cleared or replaced only when it says so
        EXPECT_EQ(ShortcutRecorderRow::interpret(c.code, c.modifiers, c.key, result), c.outcome);
        if (c.outcome == Outcome::set || c.outcome == Outcome::cleared)
            EXPECT_EQ(result, c.result);
    }
}

class SettingsWindowTest : public testing::Test {
protected:
    SettingsWindowTest()
    {
        auto backend = std::make_unique<NullHotKeyBackend>();
        m_backend = backend.get();
        m_hotKeys = std::make_unique<HotKeyCenter>(m_settings, std::move(backend));
        SettingsWindow::Services services;
        services.loginItemEnabled = [this] { return m_loginItem; };
        services.setLoginItem = [this](bool enabled) {
            if (m_loginItemFails)
                return QStringLiteral("read-only");
            m_loginItem = enabled;
            return QString();
        };
        services.relaunch = [this] { ++m_relaunches; };
        services.permissionGranted = [] { return true; };
        m_window = std::make_unique<SettingsWindow>(m_settings, *m_hotKeys, services);
        m_window->show();
        m_window->activateWindow();
    }
    ~SettingsWindowTest() override
    {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (qobject_cast<QMessageBox*>(window))
                delete window;
        }
    }
    ShortcutRecorderRow& row(HotKeyAction action) { return *m_window->view().recorder(action); }
    void key(int key, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(m_window.get(), Qt::Key(key), modifiers); }
    static QMessageBox* alert()
    {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(window); box && box->isVisible())
                return box;
        }
        return nullptr;
    }

    QTemporaryDir m_dir;
    SettingsFileStore m_store{m_dir.filePath("lumivex.conf")};
    CaptureSettings m_settings{m_store};
    NullHotKeyBackend* m_backend = nullptr;
    std::unique_ptr<HotKeyCenter> m_hotKeys;
    std::unique_ptr<SettingsWindow> m_window;
    bool m_loginItem = false;
    bool m_loginItemFails = false;
    int m_relaunches = 0;
};

TEST_F(SettingsWindowTest, RecordingLetsTheGrabsGoAndStoresTheCombination)
{
    ShortcutRecorderRow& window = row(HotKeyAction::window);
    EXPECT_EQ(window.boxText(), QStringLiteral("지정 안 함"));
    ASSERT_EQ(m_backend->registrations().size(), 2);
    window.box()->click();
    EXPECT_TRUE(window.isRecording());
    EXPECT_EQ(window.boxText(), QStringLiteral("키를 누르세요…"));
    EXPECT_TRUE(m_backend->registrations().isEmpty()); // the combination must reach us, not the desktop's grab

    key(Qt::Key_A); // beeps, keeps waiting
    EXPECT_TRUE(window.isRecording());
    key(Qt::Key_4, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_FALSE(window.isRecording());
    EXPECT_EQ(m_settings.windowShortcut(), GlobalShortcut(21, ctrl | alt));
    EXPECT_EQ(window.boxText(), QStringLiteral("Ctrl+Alt+4"));
    QCoreApplication::processEvents();
    EXPECT_EQ(m_backend->registrations().size(), 3);

    // Escape leaves it; Backspace clears it, and the stored key goes with it.
    window.box()->click();
    key(Qt::Key_Escape);
    EXPECT_EQ(m_settings.windowShortcut(), GlobalShortcut(21, ctrl | alt));
    window.box()->click();
    key(Qt::Key_Backspace);
    EXPECT_EQ(m_settings.windowShortcut(), std::nullopt);
    EXPECT_FALSE(m_store.contains(CaptureSettings::Keys::windowShortcut));
    EXPECT_EQ(window.boxText(), QStringLiteral("지정 안 함"));
}

TEST_F(SettingsWindowTest, ADuplicateIsMarkedRedOnTheLaterRowOnly)
{
    row(HotKeyAction::fullScreen).box()->click();
    key(Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier); // the area's combination
    QCoreApplication::processEvents();
    EXPECT_EQ(row(HotKeyAction::area).failureText(), QString());
    EXPECT_EQ(row(HotKeyAction::fullScreen).failureText(),
              QStringLiteral("등록하지 못했습니다. 다른 앱이 쓰고 있거나 다른 항목과 겹칩니다."));
}

// Nothing else would ever stop a recording whose window went away: every key of the application would be swallowed
// and the global shortcuts stay off.
TEST_F(SettingsWindowTest, ClosingTheWindowEndsARecording)
{
    row(HotKeyAction::area).box()->click();
    row(HotKeyAction::clipboard).box()->click(); // only one row records at a time
    EXPECT_FALSE(row(HotKeyAction::area).isRecording());
    EXPECT_TRUE(m_hotKeys->isSuspended());
    m_window->close();
    EXPECT_FALSE(row(HotKeyAction::clipboard).isRecording());
    EXPECT_FALSE(m_hotKeys->isSuspended());
    EXPECT_EQ(m_backend->registrations().size(), 2);
}

TEST_F(SettingsWindowTest, LanguageAndLoginChangesAskTheSystem)
{
    EXPECT_FALSE(m_window->view().changeLanguage(AppLanguage::system)); // the current one: no question
    EXPECT_EQ(alert(), nullptr);
    EXPECT_TRUE(m_window->view().changeLanguage(AppLanguage::en));
    EXPECT_EQ(m_settings.language(), AppLanguage::en);
    QMessageBox* box = alert();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), QStringLiteral("언어를 바꾸려면 다시 시작해야 합니다"));
    for (QAbstractButton* button : box->buttons()) {
        if (button->text() == QStringLiteral("다시 시작"))
            button->click();
    }
    EXPECT_EQ(m_relaunches, 1);

    DesignToggle* login = m_window->view().launchAtLoginSwitch();
    login->click();
    EXPECT_TRUE(m_loginItem);
    EXPECT_TRUE(login->isChecked());
    m_loginItemFails = true;
    QTimer::singleShot(0, [] {
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
    login->click(); // fails: an alert, and the switch shows what the system says
    EXPECT_TRUE(login->isChecked());
}

TEST(StartWindow, HintsFollowTheSettingsAndDropsAreHandedOn)
{
    QTemporaryDir dir;
    SettingsFileStore store(dir.filePath("lumivex.conf"));
    CaptureSettings settings(store);
    QStringList dropped;
    StartWindow::Callbacks callbacks;
    callbacks.openFiles = [&](const QStringList& paths) { dropped = paths; };
    StartWindow window(settings, callbacks);
    EXPECT_EQ(window.view().hintTitles(), QStringList({"영역 캡처", "클립보드 이미지 편집"}));
    settings.setAreaShortcut(std::nullopt);
    settings.setClipboardShortcut(std::nullopt);
    EXPECT_TRUE(window.view().hintTitles().isEmpty());
    settings.setFullScreenShortcut(GlobalShortcut(20, ctrl | shift));
    EXPECT_EQ(window.view().hintTitles(), QStringList({"전체 화면 캡처"}));

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile("/tmp/a folder"), QUrl("https://example.com/x.png"), QUrl::fromLocalFile("/tmp/b.txt")});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window.view(), &enter);
    EXPECT_TRUE(window.view().isTargeted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window.view(), &drop);
    EXPECT_FALSE(window.view().isTargeted());
    EXPECT_EQ(dropped, QStringList({"/tmp/a folder", "/tmp/b.txt"})); // the application skips what is no image
}

} // namespace
} // namespace lumivex::test
