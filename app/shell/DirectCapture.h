#pragma once

#include "app/capture/CaptureCommand.h"

namespace lumivex::DirectCapture {

// Whether the command is a full-screen capture to a file or to the clipboard on an X11 display: that one needs no
// overlay, no window and not even Qt's platform layer before the screen is frozen, so it takes the direct road.
bool handles(const CaptureCommand& command);

// The direct road, run instead of the application: freezes the display under the pointer through its own X
// connection, then writes the file (nothing but a QCoreApplication, for the translated messages) or puts the
// picture on the clipboard and serves it until another program takes the clipboard over (a QGuiApplication,
// started only once the screen is frozen). Returns the exit code: 0 done, 1 failed, 2 no usable display.
int run(const CaptureCommand& command, int& argc, char** argv);

} // namespace lumivex::DirectCapture
