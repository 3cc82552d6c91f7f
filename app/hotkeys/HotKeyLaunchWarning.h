#pragma once

#include "app/hotkeys/HotKeyAction.h"

#include <QString>

#include <optional>
#include <set>

namespace lumivex {

class CaptureSettings;

// The texts of the alert shown once after launch about shortcuts that could not be registered. Its first button
// opens the settings window, the second closes the alert.
struct HotKeyLaunchWarning {
    QString message;
    // "영역 캡처 (Ctrl+Shift+E), 창 캡처 (Ctrl+Shift+4)", a blank line, then what may be the cause and the remedy.
    QString informativeText;
    QString openSettingsButton;
    QString closeButton;

    // Nothing when no action failed.
    static std::optional<HotKeyLaunchWarning> build(const std::set<HotKeyAction>& failed,
                                                    const CaptureSettings& settings);
};

} // namespace lumivex
