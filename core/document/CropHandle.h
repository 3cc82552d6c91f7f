#pragma once

#include <array>

namespace lumivex {

enum class CropHandle { topLeft, top, topRight, right, bottomRight, bottom, bottomLeft, left };

constexpr std::array<CropHandle, 8> allCropHandles = {CropHandle::topLeft,    CropHandle::top,
                                                      CropHandle::topRight,   CropHandle::right,
                                                      CropHandle::bottomRight, CropHandle::bottom,
                                                      CropHandle::bottomLeft, CropHandle::left};

} // namespace lumivex
