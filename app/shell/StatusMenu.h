#pragma once

#include "app/hotkeys/HotKeyAction.h"

#include <QString>

#include <functional>
#include <optional>

class QMenu;

namespace lumivex {

class CaptureSettings;

// The tray icon's menu. It is filled again each time it opens, so the shortcut texts are those of the moment.
namespace StatusMenu {

struct Actions {
    std::function<void(HotKeyAction)> run; // the four actions, as their shortcuts would
    std::function<void()> openFile;
    std::function<void()> showSettings;
    std::function<void()> showWelcome;
    std::function<void()> quit;
};

// "영역 캡처", three spaces and the key caps joined ("영역 캡처   Ctrl+Shift+E"); the title alone without a shortcut.
QString itemTitle(HotKeyAction action, const std::optional<GlobalShortcut>& shortcut);
// Empties the menu and fills it from scratch. No item has a key of its own: the global shortcuts are shown only.
void rebuild(QMenu& menu, const CaptureSettings& settings, const Actions& actions);

} // namespace StatusMenu

} // namespace lumivex
