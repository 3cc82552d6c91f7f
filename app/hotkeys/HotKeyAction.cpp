#include "app/hotkeys/HotKeyAction.h"

#include "core/settings/CaptureSettings.h"

#include <QCoreApplication>

namespace lumivex::HotKeyActions {

QString rawValue(HotKeyAction action)
{
    switch (action) {
    case HotKeyAction::window:
        return QStringLiteral("window");
    case HotKeyAction::fullScreen:
        return QStringLiteral("fullScreen");
    case HotKeyAction::clipboard:
        return QStringLiteral("clipboard");
    case HotKeyAction::area:
        break;
    }
    return QStringLiteral("area");
}

QString title(HotKeyAction action)
{
    switch (action) {
    case HotKeyAction::window:
        return QCoreApplication::translate("HotKeyAction", "창 캡처");
    case HotKeyAction::fullScreen:
        return QCoreApplication::translate("HotKeyAction", "전체 화면 캡처");
    case HotKeyAction::clipboard:
        return QCoreApplication::translate("HotKeyAction", "클립보드 이미지 편집");
    case HotKeyAction::area:
        break;
    }
    return QCoreApplication::translate("HotKeyAction", "영역 캡처");
}

std::optional<GlobalShortcut> shortcut(const CaptureSettings& settings, HotKeyAction action)
{
    switch (action) {
    case HotKeyAction::window:
        return settings.windowShortcut();
    case HotKeyAction::fullScreen:
        return settings.fullScreenShortcut();
    case HotKeyAction::clipboard:
        return settings.clipboardShortcut();
    case HotKeyAction::area:
        break;
    }
    return settings.areaShortcut();
}

void setShortcut(CaptureSettings& settings, HotKeyAction action, const std::optional<GlobalShortcut>& shortcut)
{
    switch (action) {
    case HotKeyAction::window:
        return settings.setWindowShortcut(shortcut);
    case HotKeyAction::fullScreen:
        return settings.setFullScreenShortcut(shortcut);
    case HotKeyAction::clipboard:
        return settings.setClipboardShortcut(shortcut);
    case HotKeyAction::area:
        break;
    }
    settings.setAreaShortcut(shortcut);
}

} // namespace lumivex::HotKeyActions
