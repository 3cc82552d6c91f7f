#include "app/shell/MainMenu.h"

#include "app/editor/EditorCommands.h"
#include "app/editor/EditorWindow.h"

#include <QApplication>
#include <QCoreApplication>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>

namespace lumivex::MainMenu {

namespace {

class Texts {
    Q_DECLARE_TR_FUNCTIONS(lumivex::MainMenu)
};

QAction* item(QMenu& menu, const QString& title, const QKeySequence& key, std::function<void()> action)
{
    QAction* entry = menu.addAction(title);
    entry->setShortcut(key);
    QObject::connect(entry, &QAction::triggered, &menu, std::move(action));
    return entry;
}

// Standard editing of whatever text field has the focus in a window without a document.
std::function<void()> focusCommand(const char* method)
{
    return [method] {
        QWidget* focus = QApplication::focusWidget();
        if (!focus || !QMetaObject::invokeMethod(focus, method))
            QApplication::beep();
    };
}

} // namespace

void install(QMainWindow& window, const Actions& actions)
{
    QMenuBar* bar = window.menuBar();
    QAction* before = bar->actions().isEmpty() ? nullptr : bar->actions().first();
    auto* editor = qobject_cast<EditorWindow*>(&window);

    auto* application = new QMenu(QStringLiteral("Lumivex"), bar);
    const QPointer<QMainWindow> owner(&window);
    QObject::connect(application->addAction(Texts::tr("Lumivex 정보")), &QAction::triggered, application, [owner] {
        QMessageBox::about(owner, Texts::tr("Lumivex 정보"),
                           Texts::tr("Lumivex %1\n화면을 캡처하고 그림에 주석을 다는 도구").arg(QCoreApplication::applicationVersion()));
    });
    application->addSeparator();
    item(*application, Texts::tr("설정…"), QKeySequence(Qt::CTRL | Qt::Key_Comma), actions.showSettings);
    application->addSeparator();
    item(*application, Texts::tr("Lumivex 백그라운드로 보내기"), QKeySequence(Qt::CTRL | Qt::Key_Q), actions.sendToBackground);
    bar->insertMenu(before, application);

    // An editor window has its own 파일 menu whose commands (save, copy, copy the text) carry their keys; the
    // application's items join it there, so no key is claimed twice.
    QMenu* ownFile = editor && before ? before->menu() : nullptr;
    auto* file = ownFile ? ownFile : new QMenu(Texts::tr("파일"), bar);
    QAction* first = ownFile && !ownFile->actions().isEmpty() ? ownFile->actions().first() : nullptr;
    const auto add = [&](const QString& title, const QKeySequence& key, std::function<void()> action) {
        QAction* entry = item(*file, title, key, std::move(action));
        if (first) {
            file->removeAction(entry);
            file->insertAction(first, entry);
        }
        return entry;
    };
    const auto separate = [&] { first ? file->insertSeparator(first) : file->addSeparator(); };
    add(Texts::tr("영역 캡처"), {}, actions.captureArea);
    add(Texts::tr("창 캡처"), {}, actions.captureWindow);
    add(Texts::tr("전체 화면 캡처"), {}, actions.captureFullScreen);
    separate();
    add(Texts::tr("클립보드에서 열기"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V), actions.openFromClipboard);
    add(Texts::tr("파일 열기…"), QKeySequence(Qt::CTRL | Qt::Key_O), actions.openFile);
    separate();
    if (ownFile) {
        file->addAction(editor->commands().copyAllText());
    } else {
        // Without a picture there is nothing to save or copy.
        for (const char* title : {QT_TRANSLATE_NOOP("lumivex::MainMenu", "저장…"),
                                  QT_TRANSLATE_NOOP("lumivex::MainMenu", "클립보드로 복사"),
                                  QT_TRANSLATE_NOOP("lumivex::MainMenu", "이미지 속 글자 복사")})
            file->addAction(Texts::tr(title))->setEnabled(false);
    }
    file->addSeparator();
    item(*file, Texts::tr("창 닫기"), QKeySequence(Qt::CTRL | Qt::Key_W), [owner] {
        if (owner)
            owner->close();
    });
    if (!ownFile)
        bar->insertMenu(before, file);

    if (!editor) {
        QMenu* edit = bar->addMenu(Texts::tr("편집"));
        item(*edit, Texts::tr("실행 취소"), QKeySequence(Qt::CTRL | Qt::Key_Z), focusCommand("undo"));
        item(*edit, Texts::tr("다시 실행"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), focusCommand("redo"));
        edit->addSeparator();
        item(*edit, Texts::tr("잘라내기"), QKeySequence(Qt::CTRL | Qt::Key_X), focusCommand("cut"));
        item(*edit, Texts::tr("복사"), QKeySequence(Qt::CTRL | Qt::Key_C), focusCommand("copy"));
        item(*edit, Texts::tr("붙여넣기"), QKeySequence(Qt::CTRL | Qt::Key_V), focusCommand("paste"));
        item(*edit, Texts::tr("전체 선택"), QKeySequence(Qt::CTRL | Qt::Key_A), focusCommand("selectAll"));
    }

    QMenu* windowMenu = bar->addMenu(Texts::tr("윈도우"));
    item(*windowMenu, Texts::tr("최소화"), QKeySequence(Qt::CTRL | Qt::Key_M), [owner] {
        if (owner)
            owner->showMinimized();
    });
    item(*windowMenu, Texts::tr("확대/축소"), {}, [owner] {
        if (owner)
            owner->isMaximized() ? owner->showNormal() : owner->showMaximized();
    });
}

} // namespace lumivex::MainMenu
