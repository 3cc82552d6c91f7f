#pragma once

#include "core/model/Tool.h"

#include <QCursor>
#include <QImage>

namespace lumivex {

// The mouse cursor of each tool: the system arrow for selecting, otherwise a plus sign whose centre is the hot
// spot, with a small badge showing the tool's icon.
namespace ToolCursor {

constexpr int imageSize = 34;
constexpr int hotSpot = 10;

// The cursor for the tool, made once per process and tool.
QCursor cursor(Tool tool);
// The cursor picture at a device pixel ratio: the plus sign, and the badge when the tool has an icon.
QImage make(Tool tool, qreal devicePixelRatio = 1.0);

} // namespace ToolCursor

} // namespace lumivex
