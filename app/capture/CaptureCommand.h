#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace lumivex {

// A capture asked for on the command line, so that desktop environments can bind their own shortcuts to it:
//   --capture=area | --capture=window | --capture=fullscreen   start that capture at launch
//   --output=FILE                                            write the result to FILE instead of opening it
//   --clipboard                                              put the result on the clipboard instead
struct CaptureCommand {
    enum class Kind { area, window, fullscreen };

    Kind kind = Kind::area;
    QString outputPath;
    bool toClipboard = false;

    // Whether the result opens in an editor window (neither a file nor the clipboard was asked for).
    bool opensEditor() const { return outputPath.isEmpty() && !toClipboard; }

    struct Parsed;
    // Reads the capture options among all options; other options are left to their owners.
    static Parsed parse(const QStringList& options);
};

struct CaptureCommand::Parsed {
    std::optional<CaptureCommand> command;
    // Why the options could not be understood; empty when they could (or when no capture was asked for).
    QString error;
};

} // namespace lumivex
