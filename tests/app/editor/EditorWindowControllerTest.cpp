// The editor window as the controller of its commands: the status line's messages and their timing, copy with
// automatic saving and closing, saving through the file dialog, covering faces off the main thread, and where
// windows open.
#include "ManualScheduler.h"
#include "TestStores.h"

#include "app/editor/EditorView.h"
#include "app/editor/EditorWindow.h"
#include "core/document/EditorDocument.h"
#include "core/model/FaceCover.h"
#include "samples/TestImages.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QMimeData>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QSemaphore>
#include <QThread>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>

using namespace std::chrono_literals;

namespace lumivex::test {
namespace {

class EditorWindowController : public ::testing::Test {
protected:
    void open(std::function<FaceDetector::Detection(const QImage&)> detect = {})
    {
        EditorWindow::Environment environment;
        environment.scheduler = &m_scheduler;
        environment.stores = m_stores.stores();
        environment.now = [] { return QDateTime(QDate(2025, 3, 7), QTime(14, 5, 9)); };
        environment.detectFaces = std::move(detect);
        m_window = new EditorWindow(LoadedImage{screenshotLikeImage(600, 400), 1, QStringLiteral("shot")}, environment);
        m_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.data()));
    }
    void TearDown() override
    {
        delete m_window.data();
        QApplication::processEvents();
    }
    template <typename T>
    T* dialog()
    {
        T* found = nullptr;
        (void)QTest::qWaitFor([&] { return (found = m_window->findChild<T*>()) != nullptr; }, 2000);
        return found;
    }

    TestStores m_stores;
    ManualScheduler m_scheduler;
    QPointer<EditorWindow> m_window; // deletes itself when closed
};

TEST_F(EditorWindowController, AFlashReplacedWithinItsTimeKeepsTheNewMessageForItsFullTime)
{
    open();
    m_window->flash(QStringLiteral("first"));
    m_scheduler.advance(1500ms);
    m_window->flash(QStringLiteral("second"));
    m_scheduler.advance(600ms); // the first one's clearing falls due here
    EXPECT_EQ(m_window->subtitle(), QStringLiteral("second"));
    m_scheduler.advance(1399ms);
    EXPECT_EQ(m_window->subtitle(), QStringLiteral("second"));
    m_scheduler.advance(1ms);
    EXPECT_EQ(m_window->subtitle(), QString());

    m_window->flash(QStringLiteral("stays"), std::nullopt);
    m_scheduler.advance(60s);
    EXPECT_EQ(m_window->subtitle(), QStringLiteral("stays"));
}

TEST_F(EditorWindowController, CopySavesWhenAskedAndNamesTheFileThenClosesWhenAsked)
{
    open();
    m_window->copy();
    EXPECT_EQ(m_window->subtitle(), QStringLiteral("클립보드에 복사됨"));
    ASSERT_FALSE(QGuiApplication::clipboard()->mimeData()->data(QStringLiteral("image/png")).isEmpty());

    const QString folder = m_stores.folder.filePath(QStringLiteral("saved"));
    m_stores.settings.setAutoSaveOnCopy(true);
    m_stores.settings.setSaveDirectory(folder);
    m_window->copy();
    EXPECT_EQ(m_window->subtitle(), QStringLiteral("클립보드에 복사됨 · Lumivex 2025-03-07 at 14.05.09.png 저장"));
    const QImage saved(folder + QStringLiteral("/Lumivex 2025-03-07 at 14.05.09.png"));
    EXPECT_EQ(saved.size(), QSize(600, 400));

    m_stores.settings.setCloseAfterCopy(true);
    m_window->copy();
    m_scheduler.advance(349ms);
    EXPECT_TRUE(m_window && m_window->isVisible()) << "the message is seen before the window goes";
    m_scheduler.advance(1ms);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(m_window.isNull()) << "closed (and released) after the copy";
}

TEST_F(EditorWindowController, SaveWritesTheFormatOfTheChosenNameAndReportsFailureInAnAlert)
{
    open();
    m_stores.settings.setSaveDirectory(m_stores.folder.path());
    m_window->save();
    QFileDialog* chooser = dialog<QFileDialog>();
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(chooser->windowModality(), Qt::WindowModal);
    EXPECT_EQ(QDir(chooser->directory()).canonicalPath(), QDir(m_stores.folder.path()).canonicalPath());
    ASSERT_FALSE(chooser->selectedFiles().isEmpty());
    EXPECT_EQ(QFileInfo(chooser->selectedFiles().first()).fileName(), QStringLiteral("Lumivex shot.png"));

    const QString jpeg = m_stores.folder.filePath(QStringLiteral("out.jpg"));
    chooser->selectFile(jpeg);
    static_cast<QDialog*>(chooser)->accept(); // what the dialog's Save button does
    QFile file(jpeg);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(3).startsWith("\xFF\xD8\xFF")) << "JPEG bytes for a .jpg name";
    EXPECT_EQ(m_window->subtitle(), QStringLiteral("저장됨 — out.jpg"));

    // A name of another kind gets the chosen format's ending rather than PNG bytes under a wrong one.
    m_window->save();
    chooser = dialog<QFileDialog>();
    ASSERT_NE(chooser, nullptr);
    chooser->selectFile(m_stores.folder.filePath(QStringLiteral("picture.gif")));
    static_cast<QDialog*>(chooser)->accept(); // what the dialog's Save button does
    EXPECT_EQ(QImage(m_stores.folder.filePath(QStringLiteral("picture.gif.png"))).size(), QSize(600, 400));
    EXPECT_FALSE(QFile::exists(m_stores.folder.filePath(QStringLiteral("picture.gif"))));

    m_window->flash(QString());
    m_window->save();
    chooser = dialog<QFileDialog>();
    ASSERT_NE(chooser, nullptr);
    chooser->selectFile(m_stores.folder.filePath(QStringLiteral("missing/folder/out.png")));
    static_cast<QDialog*>(chooser)->accept(); // what the dialog's Save button does
    QMessageBox* alert = dialog<QMessageBox>();
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->windowModality(), Qt::WindowModal);
    EXPECT_EQ(alert->text(), QStringLiteral("파일을 저장하지 못했습니다."));
    EXPECT_FALSE(alert->informativeText().isEmpty());
    EXPECT_EQ(m_window->subtitle(), QString()) << "no success reported";
}

TEST_F(EditorWindowController, FacesAreFoundOffTheMainThreadAndCoveredInOneStep)
{
    const Qt::HANDLE mainThread = QThread::currentThreadId();
    std::atomic<bool> offMain = false;
    std::vector<Rect> faces = {Rect(100, 100, 60, 60), Rect(300, 120, 50, 50)};
    open([&](const QImage& image) {
        offMain = QThread::currentThreadId() != mainThread;
        EXPECT_EQ(image.size(), QSize(600, 400));
        return FaceDetector::Detection{faces, std::nullopt};
    });
    EditorDocument& doc = m_window->document();
    doc.setTool(Tool::arrow);
    const std::size_t steps = doc.undoStack().undoSteps().size();
    m_window->coverFaces(FaceCover::blur(BlurStyle::pixelate));
    EXPECT_EQ(doc.tool(), Tool::select);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_window->isCoveringFaces(); }, 5000));
    EXPECT_TRUE(offMain);
    ASSERT_EQ(doc.state().annotations.size(), 2u);
    EXPECT_EQ(doc.state().annotations[0].blurStyle, BlurStyle::pixelate);
    EXPECT_EQ(doc.undoStack().undoSteps().size(), steps + 1);
    EXPECT_EQ(m_window->subtitle(), QStringLiteral("얼굴 2개를 가렸습니다 — 놓친 얼굴은 직접 가려 주세요"));

    faces.clear();
    m_window->coverFaces(FaceCover::filledEllipse());
    QMessageBox* alert = dialog<QMessageBox>();
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->text(), QStringLiteral("얼굴을 찾지 못했습니다"));
    EXPECT_EQ(alert->informativeText(),
              QStringLiteral("옆모습·뒷모습·아주 작은 얼굴은 감지되지 않을 수 있습니다. 도형이나 블러 도구로 직접 가려 주세요."));
    EXPECT_EQ(doc.state().annotations.size(), 2u);
}

TEST_F(EditorWindowController, ADetectionThatEndsAfterTheWindowClosedIsIgnored)
{
    QSemaphore started, release;
    open([&](const QImage&) {
        started.release();
        release.acquire();
        return FaceDetector::Detection{{Rect(10, 10, 40, 40)}, std::nullopt};
    });
    m_window->coverFaces(FaceCover::filledEllipse());
    m_window->coverFaces(FaceCover::filledEllipse()); // a second request while one runs is refused
    ASSERT_TRUE(started.tryAcquire(1, 5000));
    m_window->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(m_window.isNull());
    release.release(2);
    QTest::qWait(200);
    QApplication::processEvents(); // the late result arrives here and finds no window
    EXPECT_EQ(started.available(), 0) << "the second request never ran";
}

TEST_F(EditorWindowController, WindowsStartSizedToThePictureAndCascade)
{
    const QSize screen(1700, 1000);
    EXPECT_EQ(EditorWindow::initialSize({100, 50}, 2, screen), QSize(920, 520));
    EXPECT_EQ(EditorWindow::initialSize({8000, 6000}, 1, screen), screen);
    EXPECT_EQ(EditorWindow::initialSize({1200, 800}, 2, screen), QSize(939, 520));

    const QRect available(0, 30, 1920, 1050);
    const QRect centred(500, 300, 920, 520);
    const auto first = EditorWindow::cascade(centred, std::nullopt, available);
    EXPECT_EQ(first.topLeft, centred.topLeft());
    const auto second = EditorWindow::cascade(centred, first.next, available);
    EXPECT_EQ(second.topLeft, centred.topLeft() + QPoint(26, 26));
    const auto offScreen = EditorWindow::cascade(centred, QPoint(1500, 900), available);
    EXPECT_EQ(offScreen.topLeft, available.topLeft()) << "starts again at the top left instead of leaving the screen";
}

} // namespace
} // namespace lumivex::test
