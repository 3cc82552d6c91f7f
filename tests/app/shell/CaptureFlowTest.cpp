// The application's capture road: a picture opens in an editor under the capture's name, a failure is told in an
// alert, and the coordinator itself shows nothing.
#include "app/capture/CaptureCoordinator.h"
#include "app/editor/EditorWindow.h"
#include "app/shell/CaptureFlow.h"
#include "core/document/EditorDocument.h"
#include "support/TestCaptureBackend.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace lumivex::test {
namespace {

class CaptureFlowTest : public testing::Test {
protected:
    CaptureFlowTest()
    {
        auto owned = std::make_unique<TestCaptureBackend>();
        backend = owned.get();
        flow = std::make_unique<CaptureFlow>(std::move(owned));
    }
    ~CaptureFlowTest() override
    {
        QList<QPointer<QWidget>> opened;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (qobject_cast<EditorWindow*>(window) || qobject_cast<QMessageBox*>(window))
                opened << window;
        qDeleteAll(opened);
    }
    static QList<QMessageBox*> alerts()
    {
        QList<QMessageBox*> found;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(window); box && box->isVisible())
                found << box;
        return found;
    }

    TestCaptureBackend* backend = nullptr;
    std::unique_ptr<CaptureFlow> flow;
};

TEST_F(CaptureFlowTest, APictureOpensInAnEditorUnderTheCaptureName)
{
    QImage frozen(320, 200, QImage::Format_ARGB32_Premultiplied);
    frozen.fill(Qt::darkGreen);
    backend->setShots({DisplayShot{nullptr, QStringLiteral("only"), frozen, Rect(0, 0, 160, 100)}});
    QSignalSpy opened(flow.get(), &CaptureFlow::editorOpened);
    flow->start(CaptureCommand::Kind::fullscreen);
    ASSERT_TRUE(opened.wait(10000));
    auto* editor = opened.first().first().value<EditorWindow*>();
    EXPECT_TRUE(editor->document().name().startsWith(QStringLiteral("Lumivex ")));
    EXPECT_EQ(editor->document().state().image.size(), frozen.size());
    EXPECT_EQ(editor->document().pixelScale(), 2);
    EXPECT_TRUE(alerts().isEmpty());
}

TEST_F(CaptureFlowTest, AFailureIsToldInAnAlertAndOpensNothing)
{
    backend->setError(CaptureError::failed(QStringLiteral("BadMatch")));
    QSignalSpy opened(flow.get(), &CaptureFlow::editorOpened);
    QSignalSpy ended(&flow->coordinator(), &CaptureCoordinator::captureEnded);
    flow->start(CaptureCommand::Kind::area);
    ASSERT_TRUE(ended.wait(10000));
    ASSERT_EQ(alerts().size(), 1);
    EXPECT_EQ(alerts().first()->text(), QStringLiteral("캡처하지 못했습니다"));
    EXPECT_TRUE(alerts().first()->informativeText().contains(QStringLiteral("BadMatch")));
    EXPECT_TRUE(opened.isEmpty());
}

} // namespace
} // namespace lumivex::test
