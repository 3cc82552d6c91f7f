// Global shortcuts on a private Xvfb with openbox, pressed for real with xdotool: the centre in this process
// (through its own X connection) and in a process of its own on Qt's xcb connection, as in the application.

#include "app/hotkeys/HotKeyCenter.h"
#include "app/platform/X11Connection.h"
#include "app/platform/X11HotKeyBackend.h"
#include "core/settings/CaptureSettings.h"
#include "core/settings/SettingsFileStore.h"
#include "support/XServer.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QThread>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace lumivex::test {
namespace {

// X keycodes (evdev + 8) and core modifier masks, written out as the server knows them.
constexpr uint8_t keyE = 26, keyF = 41, key1 = 10, key3 = 12, key4 = 13, keyV = 55;
constexpr uint16_t ctrlShift = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_SHIFT;
constexpr uint16_t altSuper = XCB_MOD_MASK_1 | XCB_MOD_MASK_4;

const GlobalShortcut ctrlShiftE(14, 0x120000);
const GlobalShortcut ctrlShift1(18, 0x120000);
const GlobalShortcut ctrlShift3(20, 0x120000);
const GlobalShortcut ctrlShift4(21, 0x120000);

class X11HotKeyFixture : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_server.isRunning()) << m_server.errorString().toStdString(); }

    // Starts a helper program whose output goes to a file of the same name.
    void start(ChildProcess& child, const QString& program, const QStringList& arguments)
    {
        const QString log = m_dir.filePath(QFileInfo(program).fileName());
        const int fd = ::open(QFile::encodeName(log).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        ASSERT_TRUE(child.start(
            {program, arguments, m_server.environmentList({"XDG_RUNTIME_DIR=" + m_dir.path()}), fd, fd, -1}));
        ::close(fd);
    }
    QString output(const QString& program) const
    {
        QFile file(m_dir.filePath(QFileInfo(program).fileName()));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    void holdInAnotherClient(uint8_t keycode, uint16_t modifiers)
    {
        start(m_grabber, LUMIVEX_TEST_GRABBER, {QString::number(keycode), QString::number(modifiers)});
        ASSERT_TRUE(m_server.waitUntil([&] { return output(LUMIVEX_TEST_GRABBER) == "grabbed\n"; }));
    }

    // Whether some client holds the combination: a grab of our own is then refused.
    bool held(uint8_t keycode, uint16_t modifiers) const
    {
        xcb_connection_t* connection = xcb_connect(m_server.display().toUtf8().constData(), nullptr);
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
        xcb_generic_error_t* error = xcb_request_check(
            connection, xcb_grab_key_checked(connection, 0, root, modifiers, keycode, XCB_GRAB_MODE_ASYNC,
                                             XCB_GRAB_MODE_ASYNC));
        const bool refused = error != nullptr;
        std::free(error);
        xcb_disconnect(connection);
        return refused;
    }

    void key(const QString& keys) { ASSERT_TRUE(m_server.xdotool({"key", keys}).ok()) << keys.toStdString(); }

    QTemporaryDir m_dir;
    XServer m_server;
    SettingsFileStore m_store{m_dir.filePath("lumivex.conf")};
    CaptureSettings m_settings{m_store};
    ChildProcess m_grabber;
};

class X11HotKeyCenterTest : public X11HotKeyFixture {
protected:
    void createCenter()
    {
        auto backend = std::make_unique<X11HotKeyBackend>(X11Connection::open(m_server.display().toUtf8()));
        m_center = std::make_unique<HotKeyCenter>(m_settings, std::move(backend),
                                                  [this](HotKeyAction action) { m_pressed.push_back(action); });
    }
    bool pressedBecomes(const std::vector<HotKeyAction>& expected)
    {
        return m_server.waitUntil([&] {
            QCoreApplication::processEvents();
            return m_pressed == expected;
        });
    }

    std::unique_ptr<HotKeyCenter> m_center;
    std::vector<HotKeyAction> m_pressed;
};

TEST_F(X11HotKeyCenterTest, X11TakenRepeatedAndModifierlessCombinationsFailAndAFreedOneIsTaken)
{
    m_settings.setWindowShortcut(ctrlShift4);
    // Stored flags whose only bit is Caps Lock: grabbing the bare F key would take it from every application.
    m_settings.setClipboardShortcut(GlobalShortcut::decoded(R"({"keyCode":3,"modifierFlags":65536})"));
    holdInAnotherClient(key4, ctrlShift);
    createCenter();
    EXPECT_EQ(m_center->failed(), (std::set{HotKeyAction::window, HotKeyAction::clipboard}));
    EXPECT_FALSE(held(keyF, 0));

    m_settings.setFullScreenShortcut(ctrlShiftE);
    QCoreApplication::processEvents();
    EXPECT_EQ(m_center->failed(), (std::set{HotKeyAction::window, HotKeyAction::fullScreen, HotKeyAction::clipboard}));
    key("ctrl+shift+e");
    EXPECT_TRUE(pressedBecomes({HotKeyAction::area}));

    m_grabber.stop();
    ASSERT_TRUE(m_server.waitUntil([&] { return !held(key4, ctrlShift); }));
    m_center->reload();
    EXPECT_EQ(m_center->failed(), (std::set{HotKeyAction::fullScreen, HotKeyAction::clipboard}));
    key("ctrl+shift+4");
    EXPECT_TRUE(pressedBecomes({HotKeyAction::area, HotKeyAction::window}));
}

TEST_F(X11HotKeyCenterTest, X11ChangingAShortcutRegrabsAllFourWithinOneTurn)
{
    m_settings.setWindowShortcut(ctrlShift4);
    m_settings.setFullScreenShortcut(ctrlShift3);
    createCenter();
    ASSERT_TRUE(m_center->failed().empty());

    m_settings.setAreaShortcut(ctrlShift1);
    QCoreApplication::processEvents();
    EXPECT_FALSE(held(keyE, ctrlShift));
    for (const auto& [keycode, modifiers] : {std::pair{key1, ctrlShift}, std::pair{key4, ctrlShift},
                                             std::pair{key3, ctrlShift}, std::pair{keyV, altSuper},
                                             std::pair{key1, uint16_t(ctrlShift | XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2)}})
        EXPECT_TRUE(held(keycode, modifiers)) << int(keycode) << " " << modifiers;
}

class X11HotKeyProbeTest : public X11HotKeyFixture {
protected:
    int count(const QString& line) const { return int(output(LUMIVEX_HOTKEY_PROBE).count(line + "\n")); }
    // Presses until the probe reports one more press of the action: a new keyboard mapping reaches the probe
    // a moment after the command that set it returned.
    bool pressReaches(const QString& keys, const QString& action)
    {
        const int before = count("pressed " + action);
        for (int attempt = 0; attempt < 10; ++attempt) {
            key(keys);
            if (m_server.waitUntil([&] { return count("pressed " + action) > before; }, 2000))
                return true;
        }
        return false;
    }
    bool lockIsOn(const QString& name) const
    {
        const QString state = QString::fromUtf8(ChildProcess::run("xset", {"q"}, m_server.environmentList(), 20000).output);
        return state.contains(QRegularExpression(name + ":\\s+on"));
    }
    void run(const QString& program, const QStringList& arguments)
    {
        ASSERT_TRUE(ChildProcess::run(program, arguments, m_server.environmentList(), 20000).ok())
            << program.toStdString() << " " << arguments.join(' ').toStdString();
    }

    ChildProcess m_probe;
};

TEST_F(X11HotKeyProbeTest, X11ShortcutsSurviveLockKeysLayoutSwitchesAndMovedModifiers)
{
    m_settings.setAreaShortcut(GlobalShortcut(6, 0x120000)); // the key that types z in a US layout, y in German
    m_settings.setWindowShortcut(ctrlShift4);
    holdInAnotherClient(key4, ctrlShift);
    start(m_probe, LUMIVEX_HOTKEY_PROBE, {m_store.path()});
    ASSERT_TRUE(m_server.waitUntil([&] { return output(LUMIVEX_HOTKEY_PROBE).contains("failed window\n"); }))
        << output(LUMIVEX_HOTKEY_PROBE).toStdString();

    EXPECT_TRUE(pressReaches("ctrl+shift+z", "area"));
    for (const QString lock : {"Num_Lock", "Caps_Lock"}) {
        key(lock);
        ASSERT_TRUE(lockIsOn(QString(lock).replace('_', ' ')));
        EXPECT_TRUE(pressReaches("ctrl+shift+z", "area")) << lock.toStdString();
        key(lock);
    }

    run("setxkbmap", {"-layout", "de"});
    EXPECT_TRUE(pressReaches("ctrl+shift+y", "area"));
    EXPECT_TRUE(pressReaches("super+alt+v", "clipboard"));
    // Super moves to another modifier bit: the grabs must follow it.
    run("xmodmap", {"-e", "remove mod4 = Super_L", "-e", "add mod3 = Super_L"});
    EXPECT_TRUE(pressReaches("super+alt+v", "clipboard"));
    EXPECT_TRUE(m_probe.isRunning());
    EXPECT_EQ(count("pressed window"), 0);
}

} // namespace
} // namespace lumivex::test
