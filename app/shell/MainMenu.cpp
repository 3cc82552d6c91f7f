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

    auto* file = new QMenu(Texts::tr("파일"), bar);
    item(*file, Texts::tr("영역 캡처"), {}, actions.captureArea);
    item(*file, Texts::tr("창 캡처"), {}, actions.captureWindow);
    item(*file, Texts::tr("전체 화면 캡처"), {}, actions.captureFullScreen);
    file->addSeparator();
    item(*file, Texts::tr("클립보드에서 열기"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V), actions.openFromClipboard);
    item(*file, Texts::tr("파일 열기…"), QKeySequence(Qt::CTRL | Qt::Key_O), actions.openFile);
    file->addSeparator();
    if (editor) {
        // The editor's own commands, not copies: two actions with one key in a window make Qt run neither.
        const EditorCommands& commands = editor->commands();
        file->addActions({commands.save(), commands.copy(), commands.copyAllText()});
    } else {
        for (const QString& title : {Texts::tr("저장…"), Texts::tr("클립보드로 복사"), Texts::tr("이미지 속 글자 복사")})
            file->addAction(title)->setEnabled(false);
    }
    file->addSeparator();
    item(*file, Texts::tr("창 닫기"), QKeySequence(Qt::CTRL | Qt::Key_W), [owner] {
        if (owner)
            owner->close();
    });
    bar->insertMenu(before, file);
    if (editor) // the editor's own file menu is now part of this one
        for (QAction* entry : bar->actions())
            if (entry->menu() && entry->menu() != file && entry->menu()->actions().contains(editor->commands().save()))
                bar->removeAction(entry);

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
