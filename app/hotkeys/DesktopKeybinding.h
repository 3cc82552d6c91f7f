#pragma once

#include "app/hotkeys/HotKeyAction.h"

#include <QString>

#include <optional>

namespace lumivex {

// Where the desktop lets no application register global shortcuts (GNOME and sway have no GlobalShortcuts
// portal), the user binds a command in the desktop's own keyboard settings instead; a running Lumivex takes the
// request over from the command. These are the texts the settings window shows for that.
namespace DesktopKeybinding {

// The command that runs the action ("lumivex --capture=area"); nothing for an action no command line reaches.
// `program` is how the desktop should start Lumivex: "lumivex" when that is on the PATH, else its full path.
std::optional<QString> command(HotKeyAction action, const QString& program);
// The program name for command(): "lumivex" when the PATH finds this very executable, else its full path.
QString program();
// "데스크톱의 키보드 설정에서 사용자 지정 단축키(Ctrl+Shift+E)를 추가하고 다음 명령을 지정하세요: lumivex --capture=area";
// without a shortcut the parenthesis is left out. Nothing when command() has nothing.
std::optional<QString> hint(HotKeyAction action, const std::optional<GlobalShortcut>& shortcut, const QString& program);

} // namespace DesktopKeybinding

} // namespace lumivex
