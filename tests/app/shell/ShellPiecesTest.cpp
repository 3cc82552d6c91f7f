// The small parts of the application shell that a user meets through the command line, the tray menu, the login
// item and a relaunch.
#include "app/shell/LaunchRequest.h"
#include "app/shell/LoginItem.h"
#include "app/shell/Relaunch.h"
#include "app/shell/StatusMenu.h"
#include "core/settings/CaptureSettings.h"
#include "core/settings/SettingsFileStore.h"
#include "support/ChildProcess.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

namespace lumivex::test {
namespace {

struct RequestCase {
    const char* name;
    QStringList arguments;
    QStringList files;
    std::optional<CaptureCommand::Kind> capture;
    QString output;
    bool toClipboard = false;
    bool openClipboard = false;
    bool loginItem = false;
    bool error = false;
};

TEST(LaunchRequest, ReadsWhatEachStartAsksFor)
{
    using Kind = CaptureCommand::Kind;
    const std::vector<RequestCase> cases = {
        {"files relative and absolute, an unknown option ignored", {"a.png", "-x", "/tmp/../tmp/b.jpg"},
         {"/home/u/a.png", "/tmp/b.jpg"}},
        {"nothing", {}, {}},
        {"clipboard alone opens the clipboard", {"--clipboard"}, {}, std::nullopt, {}, false, true},
        {"clipboard with a capture is where it goes", {"--clipboard", "--capture=fullscreen"}, {}, Kind::fullscreen, {}, true},
        {"output is made absolute for the instance", {"--capture=area", "--output=shots/x.png"}, {}, Kind::area,
         "/home/u/shots/x.png"},
        {"login", {"--login-item"}, {}, std::nullopt, {}, false, false, true},
        {"unknown capture", {"--capture=screen"}, {}, std::nullopt, {}, false, false, false, true},
        {"output without capture", {"--output=x.png"}, {}, std::nullopt, {}, false, false, false, true},
    };
    for (const RequestCase& c : cases) {
        SCOPED_TRACE(c.name);
        const LaunchRequest request = LaunchRequest::parse(QStringList{"lumivex"} + c.arguments, "/home/u");
        EXPECT_EQ(request.files, c.files);
        EXPECT_EQ(request.error.isEmpty(), !c.error);
        EXPECT_EQ(request.capture.has_value(), c.capture.has_value());
        if (request.capture && c.capture) {
            EXPECT_EQ(request.capture->kind, *c.capture);
            EXPECT_EQ(request.capture->outputPath, c.output);
            EXPECT_EQ(request.capture->toClipboard, c.toClipboard);
        }
        EXPECT_EQ(request.openClipboard, c.openClipboard);
        EXPECT_EQ(request.loginItem, c.loginItem);
    }
    EXPECT_TRUE(LaunchRequest::parse({"lumivex"}, "/").asksForNothing());
    EXPECT_TRUE(LaunchRequest::parse({"lumivex", "--capture=window", "--output=/x.png"}, "/").isOneShotCapture());
    EXPECT_FALSE(LaunchRequest::parse({"lumivex", "--capture=window"}, "/").isOneShotCapture());
}

TEST(StatusMenu, IsRebuiltFromTheCurrentShortcutsEachTime)
{
    QTemporaryDir dir;
    SettingsFileStore store(dir.filePath("lumivex.conf"));
    CaptureSettings settings(store);
    QStringList ran;
    StatusMenu::Actions actions{[&](HotKeyAction action) { ran << HotKeyActions::rawValue(action); },
                                [&] { ran << "openFile"; }, [&] { ran << "settings"; }, [&] { ran << "welcome"; },
                                [&] { ran << "quit"; }};
    QMenu menu;
    StatusMenu::rebuild(menu, settings, actions);
    const auto titles = [&] {
        QStringList list;
        for (QAction* action : menu.actions()) {
            list << (action->isSeparator() ? "-" : action->text());
            EXPECT_TRUE(action->shortcut().isEmpty()) << action->text().toStdString();
        }
        return list;
    };
    EXPECT_EQ(titles(), QStringList({"영역 캡처   Ctrl+Shift+E", "창 캡처", "전체 화면 캡처", "-",
                                     "클립보드 이미지 편집   Alt+Super+V", "파일 열기…", "-", "설정…", "시작 창 보기", "-",
                                     "Lumivex 종료"}));
    settings.setWindowShortcut(GlobalShortcut(21, GlobalShortcut::commandFlag | GlobalShortcut::optionFlag));
    settings.setAreaShortcut(std::nullopt);
    StatusMenu::rebuild(menu, settings, actions);
    EXPECT_EQ(titles().mid(0, 2), QStringList({"영역 캡처", "창 캡처   Ctrl+Alt+4"}));
    EXPECT_EQ(menu.actions().size(), 11); // rebuilt, not appended to
    menu.actions().at(1)->trigger();
    menu.actions().at(4)->trigger();
    menu.actions().last()->trigger();
    EXPECT_EQ(ran, QStringList({"window", "clipboard", "quit"}));
}

class LoginItemTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_previous = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.path()));
    }
    void TearDown() override { qputenv("XDG_CONFIG_HOME", m_previous); }

    QTemporaryDir m_dir;
    QByteArray m_previous;
};

TEST_F(LoginItemTest, TheAutostartEntryStartsThisProgramAsALoginItem)
{
    EXPECT_EQ(LoginItem::entryPath(), m_dir.filePath("autostart/lumivex.desktop"));
    EXPECT_FALSE(LoginItem::isEnabled());
    // A path with spaces, quotes and a dollar sign must come back as one argument, unchanged.
    const QString program = m_dir.filePath("my apps/\"lumi\" $HOME/lumivex");
    ASSERT_EQ(LoginItem::set(true, program), QString());
    EXPECT_TRUE(LoginItem::isEnabled());
    // Undo the two levels of escaping (string value, then quoted argument) as a launcher does.
    QFile raw(LoginItem::entryPath());
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    const QString line = QString::fromUtf8(raw.readAll()).split('\n').filter("Exec=").first().mid(5);
    ASSERT_TRUE(line.endsWith(" --login-item")) << line.toStdString();
    QString value = line.chopped(int(strlen(" --login-item")));
    value.replace("\\\\", "\\");
    ASSERT_TRUE(value.startsWith('"') && value.endsWith('"')) << value.toStdString();
    value = value.mid(1, value.size() - 2);
    QString argument;
    for (int i = 0; i < value.size(); ++i)
        argument += (value[i] == '\\' && i + 1 < value.size()) ? value[++i] : value[i];
    EXPECT_EQ(argument, program);

    // Switched off by a desktop's own settings, then removed by us.
    QFile::remove(LoginItem::entryPath());
    ASSERT_EQ(LoginItem::set(true, "/usr/bin/lumivex"), QString());
    QFile hide(LoginItem::entryPath());
    ASSERT_TRUE(hide.open(QIODevice::Append));
    hide.write("Hidden=true\n");
    hide.close();
    EXPECT_FALSE(LoginItem::isEnabled());
    EXPECT_EQ(LoginItem::set(false, "/usr/bin/lumivex"), QString());
    EXPECT_FALSE(QFile::exists(LoginItem::entryPath()));
    EXPECT_EQ(LoginItem::set(false, "/usr/bin/lumivex"), QString()); // nothing to remove is no failure

    // A file where the folder should be: a clear failure, nothing claimed.
    QDir(m_dir.path()).rmdir("autostart");
    QFile blocker(m_dir.filePath("autostart"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(LoginItem::set(true, "/usr/bin/lumivex").isEmpty());
    EXPECT_FALSE(LoginItem::isEnabled());
}

// The helper waits for the old process to end before it starts the program, and takes the program's path as data:
// a path with quotes and $(...) is run as that file, never as shell text.
TEST_F(LoginItemTest, RelaunchStartsTheProgramOnlyAfterTheOldProcessEnded)
{
    const QString program = m_dir.filePath("re launch $(touch injected) \"q\".sh");
    const QString marker = m_dir.filePath("started");
    QFile script(program);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(("#!/bin/sh\ntouch '" + marker + "'\n").toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    ChildProcess old;
    ASSERT_TRUE(old.start({"/bin/sleep", {"60"}}));
    QProcess helper;
    helper.start("/bin/sh", Relaunch::helperArguments(old.pid(), program));
    ASSERT_TRUE(helper.waitForStarted());
    EXPECT_FALSE(helper.waitForFinished(500)); // still waiting for the old process
    EXPECT_FALSE(QFile::exists(marker));
    old.stop();
    ASSERT_TRUE(helper.waitForFinished(20000));
    EXPECT_EQ(helper.exitCode(), 0);
    EXPECT_TRUE(QFile::exists(marker));
    EXPECT_FALSE(QFile::exists(QDir::current().filePath("injected")));
    EXPECT_FALSE(QFile::exists(m_dir.filePath("injected")));
}

} // namespace
} // namespace lumivex::test
