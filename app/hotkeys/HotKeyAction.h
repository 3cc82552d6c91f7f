#pragma once

#include "core/settings/GlobalShortcut.h"

#include <QString>

#include <array>
#include <optional>

namespace lumivex {

class CaptureSettings;

// What a global shortcut starts. Every list and loop over the actions runs in this order.
enum class HotKeyAction { area, window, fullScreen, clipboard };

namespace HotKeyActions {

constexpr std::array<HotKeyAction, 4> allCases = {HotKeyAction::area, HotKeyAction::window, HotKeyAction::fullScreen,
                                                 HotKeyAction::clipboard};

QString rawValue(HotKeyAction action);
// Localised title; the Korean text is the key.
QString title(HotKeyAction action);
// The setting of the same name (areaShortcut for area, ...).
std::optional<GlobalShortcut> shortcut(const CaptureSettings& settings, HotKeyAction action);
void setShortcut(CaptureSettings& settings, HotKeyAction action, const std::optional<GlobalShortcut>& shortcut);

} // namespace HotKeyActions

} // namespace lumivex
