#pragma once

#include "app/capture/CaptureCommand.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace lumivex {

// What one start of `lumivex` asks for, in a form that can be carried out here or handed to the instance that
// already runs: paths are absolute, because the running instance has another working folder.
//   lumivex IMAGE...                       open each image in its own editor window
//   lumivex --capture=area|window|fullscreen [--output=FILE | --clipboard]
//   lumivex --clipboard                    open the clipboard's image in an editor
//   lumivex --login-item                   started by the desktop at login: no window
//   lumivex                                show the start window
struct LaunchRequest {
    QStringList files;
    std::optional<CaptureCommand> capture;
    bool openClipboard = false;
    bool loginItem = false;
    // Why the options could not be understood; empty when they could.
    QString error;

    // `arguments` include the program name first, as QCoreApplication::arguments() does.
    static LaunchRequest parse(const QStringList& arguments, const QString& workingDirectory);

    // A capture whose picture goes to a file or the clipboard: a one-shot command that never stays resident.
    bool isOneShotCapture() const { return capture && !capture->opensEditor(); }
    // Nothing but the bare program name (or only options nobody reads): the start window is wanted.
    bool asksForNothing() const { return files.isEmpty() && !capture && !openClipboard && !loginItem; }
};

} // namespace lumivex
