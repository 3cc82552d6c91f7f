#include "app/shell/StatusMenu.h"

#include "core/settings/CaptureSettings.h"

#include <QCoreApplication>
#include <QMenu>

namespace lumivex::StatusMenu {

QString itemTitle(HotKeyAction action, const std::optional<GlobalShortcut>& shortcut)
{
    const QString title = HotKeyActions::title(action);
    return shortcut ? title + QStringLiteral("   ") + shortcut->displayString() : title;
}

void rebuild(QMenu& menu, const CaptureSettings& settings, const Actions& actions)
{
    menu.clear();
    for (const HotKeyAction action : HotKeyActions::allCases) {
        if (action == HotKeyAction::clipboard)
            menu.addSeparator();
        QAction* item = menu.addAction(itemTitle(action, HotKeyActions::shortcut(settings, action)));
        QObject::connect(item, &QAction::triggered, &menu, [run = actions.run, action] { run(action); });
    }
    QObject::connect(menu.addAction(QCoreApplication::translate("lumivex::StatusMenu", "파일 열기…")), &QAction::triggered, &menu, actions.openFile);
    menu.addSeparator();
    QObject::connect(menu.addAction(QCoreApplication::translate("lumivex::StatusMenu", "설정…")), &QAction::triggered, &menu, actions.showSettings);
    QObject::connect(menu.addAction(QCoreApplication::translate("lumivex::StatusMenu", "시작 창 보기")), &QAction::triggered, &menu, actions.showWelcome);
    menu.addSeparator();
    QObject::connect(menu.addAction(QCoreApplication::translate("lumivex::StatusMenu", "Lumivex 종료")), &QAction::triggered, &menu, actions.quit);
}

} // namespace lumivex::StatusMenu
