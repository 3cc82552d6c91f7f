#include "app/hotkeys/DesktopKeybinding.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStandardPaths>

namespace lumivex::DesktopKeybinding {

std::optional<QString> command(HotKeyAction action, const QString& program)
{
    switch (action) {
    case HotKeyAction::area:
        return program + QStringLiteral(" --capture=area");
    case HotKeyAction::window:
        return program + QStringLiteral(" --capture=window");
    case HotKeyAction::fullScreen:
        return program + QStringLiteral(" --capture=fullscreen");
    case HotKeyAction::clipboard:
        break;
    }
    return std::nullopt;
}

QString program()
{
    const QString self = QCoreApplication::applicationFilePath();
    const QString found = QStandardPaths::findExecutable(QStringLiteral("lumivex"));
    if (!found.isEmpty() && QFileInfo(found).canonicalFilePath() == QFileInfo(self).canonicalFilePath())
        return QStringLiteral("lumivex");
    // A path with spaces would split into several words in the desktop's command field.
    return self.contains(QLatin1Char(' ')) ? QLatin1Char('"') + self + QLatin1Char('"') : self;
}

std::optional<QString> hint(HotKeyAction action, const std::optional<GlobalShortcut>& shortcut, const QString& program)
{
    const std::optional<QString> line = command(action, program);
    if (!line)
        return std::nullopt;
    if (shortcut && shortcut->isValidGlobalShortcut())
        return QCoreApplication::translate("DesktopKeybinding",
                                           "데스크톱의 키보드 설정에서 사용자 지정 단축키(%1)를 추가하고 다음 명령을 지정하세요: %2")
            .arg(shortcut->displayString(), *line);
    return QCoreApplication::translate("DesktopKeybinding",
                                       "데스크톱의 키보드 설정에서 사용자 지정 단축키를 추가하고 다음 명령을 지정하세요: %1")
        .arg(*line);
}

} // namespace lumivex::DesktopKeybinding
