#pragma once

#include <QString>

#include <array>
#include <optional>

namespace lumivex {

// Light or dark windows, or whatever the desktop uses. Stored as the raw value.
enum class AppearanceMode { system, light, dark };

namespace AppearanceModes {

constexpr std::array<AppearanceMode, 3> allCases = {AppearanceMode::system, AppearanceMode::light,
                                                   AppearanceMode::dark};

QString rawValue(AppearanceMode mode);
// Case-sensitive; anything else names no mode.
std::optional<AppearanceMode> fromRawValue(const QString& raw);
// Localised title; the Korean text is the key.
QString title(AppearanceMode mode);

} // namespace AppearanceModes

} // namespace lumivex
