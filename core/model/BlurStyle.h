#pragma once

namespace lumivex {

enum class BlurStyle { gaussian, pixelate };

} // namespace lumivex
