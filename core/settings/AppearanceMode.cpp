#include "core/settings/AppearanceMode.h"

#include <QCoreApplication>

namespace lumivex::AppearanceModes {

QString rawValue(AppearanceMode mode)
{
    switch (mode) {
    case AppearanceMode::light:
        return QStringLiteral("light");
    case AppearanceMode::dark:
        return QStringLiteral("dark");
    case AppearanceMode::system:
        break;
    }
    return QStringLiteral("system");
}

std::optional<AppearanceMode> fromRawValue(const QString& raw)
{
    for (AppearanceMode mode : allCases) {
        if (rawValue(mode) == raw)
            return mode;
    }
    return std::nullopt;
}

QString title(AppearanceMode mode)
{
    switch (mode) {
    case AppearanceMode::light:
        return QCoreApplication::translate("AppearanceMode", "라이트");
    case AppearanceMode::dark:
        return QCoreApplication::translate("AppearanceMode", "다크");
    case AppearanceMode::system:
        break;
    }
    return QCoreApplication::translate("AppearanceMode", "시스템");
}

} // namespace lumivex::AppearanceModes
