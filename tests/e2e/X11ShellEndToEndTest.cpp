// The resident application for real: the lumivex executable on a private Xvfb with openbox, a tray host
// (trayer) and a session bus of its own, driven with xdotool and xclip as a user and other programs would.
#include "core/settings/AppLanguage.h"
#include "core/settings/CaptureSettings.h"
#include "core/settings/SettingsFileStore.h"
#include "support/ChildProcess.h"
#include "support/PrivateBus.h"
#include "support/XServer.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <xcb/xcb.h>

#include <fcntl.h>
#include <unistd.h>

namespace lumivex::test {
namespace {

class X11Shell : public testing::Test {
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable("trayer").isEmpty())
            GTEST_SKIP() << "trayer is not installed (scripts/packages.txt)";
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(m_server.isRunning()) << m_server.errorString().toStdString();
        ASSERT_TRUE(m_bus.isRunning());
        ASSERT_TRUE(m_trayer.start({"trayer", {"--edge", "top", "--align", "right", "--widthtype", "request",
                                               "--height", "32", "--SetDockType", "true"},
                                    m_server.environmentList()}));
        // The tray is there once it owns the system-tray selection.
        ASSERT_TRUE(m_server.waitUntil([this] { return trayHostReady(); }, 20000)) << "trayer did not start";
    }

    QStringList environment() const
    {
        return m_server.environmentList({"XDG_CONFIG_HOME=" + m_dir.path(), "XDG_RUNTIME_DIR=" + m_dir.path(),
                                         "DBUS_SESSION_BUS_ADDRESS=" + m_bus.address(), "LUMIVEX_PLATFORM", "LANG",
                                         "LANGUAGE", "LC_ALL", "LC_MESSAGES"});
    }
    QString confPath() const { return m_dir.filePath("lumivex/lumivex.conf"); }

    void launch(const QStringList& arguments)
    {
        const int logFd = ::open(QFile::encodeName(m_dir.filePath("lumivex.log")).constData(),
                                 O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
        ASSERT_TRUE(m_lumivex.start({QStringLiteral(LUMIVEX_EXECUTABLE), arguments, environment(), logFd, logFd, -1}));
        ::close(logFd);
    }
    // A later start of lumivex, run to its end.
    ChildProcess::Result again(const QStringList& arguments)
    {
        return ChildProcess::run(QStringLiteral(LUMIVEX_EXECUTABLE), arguments, environment(), 30000);
    }
    std::string log() const
    {
        QFile file(m_dir.filePath("lumivex.log"));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
    }

    bool trayHostReady() const
    {
        xcb_connection_t* connection = xcb_connect(m_server.display().toLatin1().constData(), nullptr);
        bool owned = false;
        if (!xcb_connection_has_error(connection)) {
            const QByteArray name = "_NET_SYSTEM_TRAY_S0";
            xcb_intern_atom_reply_t* atom =
                xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, uint16_t(name.size()), name.constData()), nullptr);
            if (atom) {
                xcb_get_selection_owner_reply_t* owner =
                    xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, atom->atom), nullptr);
                owned = owner && owner->owner != XCB_NONE;
                free(owner);
                free(atom);
            }
        }
        xcb_disconnect(connection);
        return owned;
    }
    // Every viewable window of the first lumivex, at any depth (the tray icon lives inside the tray).
    QList<uint32_t> shown() const
    {
        QList<uint32_t> found;
        const ChildProcess::Result result = m_server.xdotool({"search", "--pid", QString::number(m_lumivex.pid())});
        for (const QByteArray& line : result.output.split('\n')) {
            const uint32_t window = line.trimmed().toUInt();
            if (window != 0 && m_server.isViewable(window))
                found.append(window);
        }
        return found;
    }
    // The tray icon is the small one; windows, dialogs and overlays are the others.
    std::optional<uint32_t> trayIcon() const
    {
        for (const uint32_t window : shown()) {
            if (m_server.geometryOf(window).width() <= 64)
                return window;
        }
        return std::nullopt;
    }
    QList<uint32_t> windows() const
    {
        QList<uint32_t> found;
        for (const uint32_t window : shown()) {
            if (m_server.geometryOf(window).width() > 64)
                found.append(window);
        }
        return found;
    }
    QStringList titles() const
    {
        QStringList list;
        for (const uint32_t window : windows())
            list.append(m_server.titleOf(window));
        return list;
    }
    bool overlayShown() const
    {
        const QList<uint32_t> list = windows();
        return std::any_of(list.begin(), list.end(),
                           [this](uint32_t window) { return m_server.geometryOf(window) == QRect(0, 0, 1280, 800); });
    }
    void key(const QString& keys) { ASSERT_TRUE(m_server.xdotool({"key", "--clearmodifiers", keys}).ok()) << keys.toStdString(); }
    void focus(uint32_t window)
    {
        m_server.xdotool({"windowactivate", "--sync", QString::number(window)});
        ASSERT_TRUE(m_server.waitUntil([&] {
            return m_server.xdotool({"getwindowfocus"}).output.trimmed().toUInt() == window;
        })) << log();
    }
    QString image(const QString& name, QColor color)
    {
        QImage picture(120, 90, QImage::Format_RGB32);
        picture.fill(color);
        const QString path = m_dir.filePath(name);
        EXPECT_TRUE(picture.save(path, "PNG"));
        return path;
    }
    void setLanguage(AppLanguage language)
    {
        QDir().mkpath(m_dir.filePath("lumivex"));
        SettingsFileStore store(confPath());
        AppLanguages::apply(language, store);
    }

    QTemporaryDir m_dir;
    XServer m_server;
    PrivateBus m_bus;
    ChildProcess m_trayer;
    ChildProcess m_lumivex;
};

TEST_F(X11Shell, TwoImagesAndAnOptionOpenTwoEditorsAndNoStartWindow)
{
    QFile text(m_dir.filePath("notes.png"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a picture");
    text.close();
    launch({image("one.png", Qt::red), "-x", text.fileName(), m_dir.filePath("vanished.png"), image("two.png", Qt::blue)});
    ASSERT_TRUE(m_server.waitUntil([&] { return windows().size() == 2; }, 20000)) << log();
    EXPECT_FALSE(titles().contains("Lumivex")) << titles().join(", ").toStdString();
    EXPECT_TRUE(m_lumivex.isRunning());
}

// A damaged settings file too: the defaults hold, so Ctrl+Shift+E is the area capture.
TEST_F(X11Shell, ALoginStartWaitsInTheTrayAndAnswersItsShortcut)
{
    QDir().mkpath(m_dir.filePath("lumivex"));
    QFile conf(confPath());
    ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
    conf.write(QByteArray("[General]\nlumivex.shortcut.area=@ByteArray(\xff\xfe{\"keyCode\":\n\0\0\x01", 60));
    conf.close();
    launch({"--login-item"});
    ASSERT_TRUE(m_server.waitUntil([&] { return trayIcon().has_value(); }, 20000)) << log();
    EXPECT_TRUE(windows().isEmpty()) << titles().join(", ").toStdString();
    key("ctrl+shift+e");
    ASSERT_TRUE(m_server.waitUntil([&] { return overlayShown(); }, 20000)) << log();
    key("Escape");
    EXPECT_TRUE(m_server.waitUntil([&] { return windows().isEmpty(); })) << log();
    EXPECT_TRUE(m_lumivex.isRunning());
}

TEST_F(X11Shell, ASecondStartHandsItsCaptureToTheFirstAndEnds)
{
    launch({"--login-item"});
    ASSERT_TRUE(m_server.waitUntil([&] { return trayIcon().has_value(); }, 20000)) << log();
    const ChildProcess::Result second = again({"--capture=area"});
    EXPECT_EQ(second.exitCode, 0) << second.errors.toStdString();
    ASSERT_TRUE(m_server.waitUntil([&] { return overlayShown(); }, 20000)) << log();

    // A capture to a file is done by the instance, which answers once the file is written.
    key("Escape");
    ASSERT_TRUE(m_server.waitUntil([&] { return windows().isEmpty(); })) << log();
    const QString output = m_dir.filePath("shots/full.png");
    QDir().mkpath(m_dir.filePath("shots"));
    const ChildProcess::Result absolute = again({"--capture=fullscreen", "--output=" + output});
    EXPECT_EQ(absolute.exitCode, 0) << absolute.errors.toStdString() << log();
    EXPECT_EQ(QImage(output).size(), QSize(1280, 800));
    EXPECT_TRUE(m_lumivex.isRunning());
}

TEST_F(X11Shell, CtrlQOnlyHidesAndTheTraysQuitItemEnds)
{
    launch({image("one.png", Qt::green)});
    ASSERT_TRUE(m_server.waitUntil([&] { return windows().size() == 1 && trayIcon(); }, 20000)) << log();
    const uint32_t editor = windows().first();
    focus(editor);
    key("ctrl+q");
    ASSERT_TRUE(m_server.waitUntil([&] { return windows().isEmpty(); })) << log();
    EXPECT_TRUE(m_lumivex.isRunning());
    // Starting lumivex again brings the hidden editor back rather than leaving the user without a way in.
    EXPECT_EQ(again({}).exitCode, 0);
    ASSERT_TRUE(m_server.waitUntil([&] { return windows() == QList<uint32_t>{editor}; })) << log();

    const QRect icon = m_server.geometryOf(*trayIcon());
    m_server.xdotool({"mousemove", QString::number(icon.center().x()), QString::number(icon.center().y()), "click", "3"});
    ASSERT_TRUE(m_server.waitUntil([&] { return windows().size() == 2; })) << "the tray menu did not open\n" << log();
    key("Up"); // the last item: "Lumivex 종료"
    key("Return");
    EXPECT_EQ(m_lumivex.waitForExit(20000), 0) << log();
}

TEST_F(X11Shell, AnImageCopiedFromAClosedEditorStaysOnTheClipboard)
{
    launch({image("one.png", QColor(30, 140, 200))});
    ASSERT_TRUE(m_server.waitUntil([&] { return windows().size() == 1; }, 20000)) << log();
    focus(windows().first());
    key("ctrl+shift+c");
    const auto clipboardTargets = [&] {
        return ChildProcess::run("xclip", {"-selection", "clipboard", "-t", "TARGETS", "-o"}, environment(), 5000).output;
    };
    ASSERT_TRUE(m_server.waitUntil([&] { return clipboardTargets().contains("image/png"); })) << log();
    key("ctrl+w");
    ASSERT_TRUE(m_server.waitUntil([&] { return windows().isEmpty(); })) << log();
    const ChildProcess::Result png =
        ChildProcess::run("xclip", {"-selection", "clipboard", "-t", "image/png", "-o"}, environment(), 20000);
    const QImage pasted = QImage::fromData(png.output, "PNG");
    ASSERT_EQ(pasted.size(), QSize(120, 90));
    EXPECT_EQ(pasted.pixelColor(60, 45), QColor(30, 140, 200));
}

TEST_F(X11Shell, AnEmptyClipboardGivesAnAlertAndNoEditor)
{
    launch({"--clipboard"});
    ASSERT_TRUE(m_server.waitUntil([&] { return !windows().isEmpty(); }, 20000)) << log();
    // Nothing else turns up: one alert, titled like the application, and no editor behind it.
    EXPECT_FALSE(m_server.waitUntil([&] { return windows().size() > 1; }, 1500));
    EXPECT_EQ(titles(), QStringList({"Lumivex"}));
    EXPECT_LT(m_server.geometryOf(windows().first()).width(), 700);
}

TEST_F(X11Shell, TheSettingsWindowRecordsAShortcutIntoTheSettingsFile)
{
    setLanguage(AppLanguage::ko);
    launch({});
    ASSERT_TRUE(m_server.waitUntil([&] { return titles() == QStringList{"Lumivex"}; }, 20000)) << log();
    focus(windows().first());
    key("ctrl+comma");
    ASSERT_TRUE(m_server.waitUntil([&] { return titles().contains("Lumivex 설정"); })) << log();
    for (const uint32_t window : windows()) {
        if (m_server.titleOf(window) == "Lumivex 설정")
            focus(window);
    }
    key("Tab");   // from the area's shortcut to the window's
    key("space"); // records
    key("ctrl+alt+4");
    const auto stored = [&] {
        SettingsFileStore store(confPath());
        CaptureSettings settings(store);
        return settings.windowShortcut();
    };
    ASSERT_TRUE(m_server.waitUntil([&] {
        return stored() == GlobalShortcut(21, GlobalShortcut::commandFlag | GlobalShortcut::optionFlag);
    })) << log();
    // The grabs are back: the new combination now starts the window capture.
    key("Escape");
    key("ctrl+alt+4");
    EXPECT_TRUE(m_server.waitUntil([&] { return overlayShown(); }, 20000)) << log();
}

// The language chosen in the settings is read at the next launch (the relaunch itself is the helper of ShellPiecesTest).
TEST_F(X11Shell, TheChosenLanguageIsShownAtTheNextLaunch)
{
    setLanguage(AppLanguage::en);
    launch({"--login-item"});
    ASSERT_TRUE(m_server.waitUntil([&] { return trayIcon().has_value(); }, 20000)) << log();
    EXPECT_EQ(again({}).exitCode, 0); // the start window
    ASSERT_TRUE(m_server.waitUntil([&] { return titles() == QStringList{"Lumivex"}; }, 20000)) << log();
    focus(windows().first());
    key("ctrl+comma");
    EXPECT_TRUE(m_server.waitUntil([&] { return titles().contains("Lumivex Settings"); })) << titles().join(", ").toStdString();
}

} // namespace
} // namespace lumivex::test
