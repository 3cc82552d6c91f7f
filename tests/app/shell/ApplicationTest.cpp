// The resident application, offscreen: which windows each way of starting opens, what Ctrl+Q and a later start
// do, the clipboard road, drops, the first launch's login item and a damaged settings file.
#include "app/editor/EditorWindow.h"
#include "app/hotkeys/HotKeyCenter.h"
#include "app/platform/NullHotKeyBackend.h"
#include "app/shell/Application.h"
#include "app/shell/CaptureFlow.h"
#include "app/shell/LaunchRequest.h"
#include "app/shell/LoginItem.h"
#include "app/windows/StartWindow.h"
#include "core/settings/CaptureSettings.h"
#include "core/settings/SettingsFileStore.h"
#include "support/TestCaptureBackend.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

namespace lumivex::test {
namespace {

class ApplicationTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_previousConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.path()));
        QGuiApplication::clipboard()->clear();
        m_store = std::make_unique<SettingsFileStore>(m_dir.filePath("lumivex/lumivex.conf"));
    }
    void TearDown() override
    {
        m_app.reset();
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (qobject_cast<QMessageBox*>(window))
                delete window;
        }
        qputenv("XDG_CONFIG_HOME", m_previousConfig);
    }

    Application& start(const QStringList& arguments)
    {
        m_settings = std::make_unique<CaptureSettings>(*m_store);
        auto backend = std::make_unique<TestCaptureBackend>();
        m_backend = backend.get();
        m_app = std::make_unique<Application>(*m_settings, std::make_unique<CaptureFlow>(std::move(backend)),
                                              std::make_unique<NullHotKeyBackend>());
        m_app->launch(LaunchRequest::parse(QStringList{"lumivex"} + arguments, m_dir.path()));
        QCoreApplication::processEvents();
        return *m_app;
    }

    QString image(const QString& name, QColor color = Qt::red)
    {
        QImage picture(40, 30, QImage::Format_ARGB32);
        picture.fill(color);
        const QString path = m_dir.filePath(name);
        EXPECT_TRUE(picture.save(path, "PNG"));
        return path;
    }
    QString file(const QString& name, const QByteArray& contents)
    {
        QFile out(m_dir.filePath(name));
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(contents);
        return out.fileName();
    }
    static QList<QMessageBox*> alerts()
    {
        QList<QMessageBox*> found;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(window); box && box->isVisible())
                found << box;
        }
        return found;
    }
    bool startWindowShown() const { return m_app->startWindow() && m_app->startWindow()->isVisible(); }

    QTemporaryDir m_dir;
    QByteArray m_previousConfig;
    std::unique_ptr<SettingsFileStore> m_store;
    std::unique_ptr<CaptureSettings> m_settings;
    TestCaptureBackend* m_backend = nullptr;
    std::unique_ptr<Application> m_app;
};

TEST_F(ApplicationTest, ImagesOnTheCommandLineOpenOneEditorEachAndNoStartWindow)
{
    Application& app = start({image("one.png"), "-x", image("two.png", Qt::blue)});
    ASSERT_EQ(app.editors().size(), 2);
    EXPECT_TRUE(app.editors()[0]->isVisible() && app.editors()[1]->isVisible());
    EXPECT_FALSE(startWindowShown());
    EXPECT_EQ(app.editors()[0]->menuBar()->actions().first()->text(), QStringLiteral("Lumivex")); // ours in front
}

TEST_F(ApplicationTest, FilesThatAreNoImagesAreSkippedWithoutAWindow)
{
    Application& app = start({file("notes.png", "not a picture"), m_dir.filePath("vanished.png"), m_dir.path(),
                              file("empty.jpg", "")});
    EXPECT_TRUE(app.editors().isEmpty());
    EXPECT_TRUE(alerts().isEmpty());
    EXPECT_TRUE(startWindowShown()); // nothing opened: the start window instead
}

TEST_F(ApplicationTest, ALoginStartShowsNoWindowButTheTrayAndShortcuts)
{
    Application& app = start({"--login-item"});
    EXPECT_TRUE(app.editors().isEmpty());
    EXPECT_FALSE(startWindowShown());
    ASSERT_NE(app.hotKeys(), nullptr);
    auto& backend = static_cast<NullHotKeyBackend&>(app.hotKeys()->backend());
    EXPECT_EQ(backend.registrations().size(), 2); // the default area and clipboard shortcuts
    ASSERT_NE(app.tray(), nullptr);
    ASSERT_NE(app.tray()->contextMenu(), nullptr);
}

TEST_F(ApplicationTest, CtrlQHidesEverythingAndALaterStartBringsItBack)
{
    Application& app = start({image("one.png")});
    EditorWindow* editor = app.editors().first();
    // The menu item with Ctrl+Q, as the key would trigger it.
    QAction* background = nullptr;
    for (QAction* menu : editor->menuBar()->actions()) {
        for (QAction* item : menu->menu()->actions()) {
            if (item->shortcut() == QKeySequence(Qt::CTRL | Qt::Key_Q))
                background = item;
        }
    }
    ASSERT_NE(background, nullptr);
    background->trigger();
    EXPECT_FALSE(editor->isVisible());
    ASSERT_EQ(app.editors().size(), 1); // hidden, not closed
    app.reopen();
    EXPECT_TRUE(editor->isVisible());
    EXPECT_FALSE(startWindowShown());

    editor->close(); // closing an editor discards it; the application stays
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(app.editors().isEmpty());
    app.reopen();
    EXPECT_TRUE(startWindowShown());
}

TEST_F(ApplicationTest, TheClipboardOpensItsImageOrBeepsWithAnAlert)
{
    Application& app = start({});
    ASSERT_TRUE(startWindowShown());
    QSignalSpy alerted(&app, &Application::alerted);
    app.openFromClipboard();
    ASSERT_EQ(alerted.count(), 1);
    EXPECT_EQ(alerted.first().first().toString(), QStringLiteral("클립보드에 이미지가 없습니다"));
    EXPECT_EQ(alerts().size(), 1);
    EXPECT_TRUE(app.editors().isEmpty());

    QImage copied(64, 48, QImage::Format_ARGB32);
    copied.fill(Qt::green);
    QGuiApplication::clipboard()->setImage(copied);
    app.openFromClipboard();
    ASSERT_EQ(app.editors().size(), 1);
    EXPECT_TRUE(app.editors().first()->windowTitle().startsWith(QStringLiteral("Lumivex ")));
    EXPECT_FALSE(startWindowShown()); // an editor replaces the start window
}

TEST_F(ApplicationTest, ACaptureIsCopiedFirstWhenAskedThenEdited)
{
    QImage frozen(320, 200, QImage::Format_ARGB32_Premultiplied);
    frozen.fill(Qt::darkCyan);
    Application& app = start({"--login-item"});
    m_settings->setAutoCopyAfterCapture(true);
    m_backend->setShots({DisplayShot{nullptr, QStringLiteral("only"), frozen, Rect(0, 0, 160, 100)}});
    qsizetype editorsWhenCopied = -1;
    QObject::connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, &app,
                     [&] { editorsWhenCopied = app.editors().size(); });
    app.captureFullScreen();
    QTRY_COMPARE_WITH_TIMEOUT(app.editors().size(), 1, 10000);
    EXPECT_EQ(editorsWhenCopied, 0);
    EXPECT_TRUE(QGuiApplication::clipboard()->mimeData()->hasFormat("image/png"));
}

TEST_F(ApplicationTest, FilesDroppedOnAnEditorOpenInEditorsOfTheirOwn)
{
    Application& app = start({image("one.png")});
    QMimeData dropped;
    dropped.setUrls({QUrl::fromLocalFile(image("two.png")), QUrl::fromLocalFile(file("three.txt", "text")),
                     QUrl::fromLocalFile(image("four.png"))});
    EditorWindow* editor = app.editors().first();
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(editor, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(editor, &drop);
    QCoreApplication::processEvents();
    EXPECT_EQ(app.editors().size(), 3);
}

TEST_F(ApplicationTest, TheFirstLaunchTurnsOnLaunchAtLoginOnce)
{
    start({"--login-item"});
    EXPECT_TRUE(LoginItem::isEnabled());
    EXPECT_TRUE(m_store->boolValue("lumivex.loginItemConfigured"));
    ASSERT_EQ(LoginItem::set(false, "lumivex"), QString()); // the user switched it off
    m_app.reset();
    start({"--login-item"});
    EXPECT_FALSE(LoginItem::isEnabled());
}

TEST_F(ApplicationTest, ADamagedSettingsFileStartsWithTheDefaults)
{
    QDir().mkpath(m_dir.filePath("lumivex"));
    file("lumivex/lumivex.conf", QByteArray("[General\n\x00\xff\xfe lumivex.shortcut.area=@Variant(\x01\x02", 40)
                                     + QByteArray(2000, '\xba'));
    m_store = std::make_unique<SettingsFileStore>(m_dir.filePath("lumivex/lumivex.conf"));
    Application& app = start({"--login-item"});
    EXPECT_EQ(app.settings().areaShortcut(), CaptureSettings::defaultAreaShortcut());
    auto& backend = static_cast<NullHotKeyBackend&>(app.hotKeys()->backend());
    EXPECT_TRUE(backend.press(CaptureSettings::defaultAreaShortcut()));
}

} // namespace
} // namespace lumivex::test
