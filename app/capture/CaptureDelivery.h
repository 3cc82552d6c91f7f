#pragma once

#include "app/capture/CaptureCommand.h"

#include <QImage>
#include <QString>

namespace lumivex::CaptureDelivery {

// Hands a finished capture to where the command asked for it: the --output file (PNG, or JPEG for the extensions
// jpg and jpeg, written atomically and readable by the owner only, stating 72 x pixelScale dots per inch) or the
// clipboard (PNG, then TIFF). Any 32-bit image will do, also the display's own RGB32 pixels, whose padding byte
// is never read. The text to report on failure; empty when the capture was delivered. Shared by the overlay and
// the direct full-screen roads, and callable from a running instance that serves a forwarded command.
QString deliver(const CaptureCommand& command, const QImage& image, double pixelScale);

// Why the --output file could not be written, known before capturing (its folder is missing, or is no folder,
// or may not be written), so that no one picks an area for nothing; empty when the write may go ahead (and for
// a command without --output).
QString outputProblem(const CaptureCommand& command);

// In a process that only serves the clipboard: ends the event loop with exit code 0 once another program has
// taken the clipboard over. An X11 clipboard lives in the program that copied, so the capture command keeps
// running until then.
void exitWhenClipboardTaken();

} // namespace lumivex::CaptureDelivery
