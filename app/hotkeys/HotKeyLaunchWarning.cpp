#include "app/hotkeys/HotKeyLaunchWarning.h"

#include <QCoreApplication>
#include <QStringList>

namespace lumivex {

std::optional<HotKeyLaunchWarning> HotKeyLaunchWarning::build(const std::set<HotKeyAction>& failed,
                                                              const CaptureSettings& settings)
{
    if (failed.empty())
        return std::nullopt;
    QStringList entries;
    for (const HotKeyAction action : failed) { // std::set keeps case order
        const std::optional<GlobalShortcut> shortcut = HotKeyActions::shortcut(settings, action);
        entries.append(HotKeyActions::title(action) + QStringLiteral(" (") +
                       (shortcut ? shortcut->displayString() : QString()) + QLatin1Char(')'));
    }
    // No other screenshot tool announces itself on Linux, so the cause stays a guess.
    const QString text = entries.join(QStringLiteral(", ")) + QStringLiteral("\n\n") +
                         QCoreApplication::translate("HotKeyLaunchWarning", "다른 앱이 같은 단축키를 쓰고 있을 수 있습니다.") +
                         QLatin1Char('\n') +
                         QCoreApplication::translate("HotKeyLaunchWarning", "설정(Ctrl+,)에서 다른 단축키를 지정할 수도 있습니다.");
    return HotKeyLaunchWarning{QCoreApplication::translate("HotKeyLaunchWarning", "단축키를 등록하지 못했습니다"), text,
                               QCoreApplication::translate("HotKeyLaunchWarning", "설정 열기"),
                               QCoreApplication::translate("HotKeyLaunchWarning", "닫기")};
}

} // namespace lumivex
