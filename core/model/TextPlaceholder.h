#pragma once

#include <QString>

#include <optional>

namespace lumivex {

namespace TextPlaceholder {

// "가" when the input source looks Korean, otherwise "A".
QString sample(const std::optional<QString>& inputSourceID);

} // namespace TextPlaceholder

} // namespace lumivex
