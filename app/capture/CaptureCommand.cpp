#include "app/capture/CaptureCommand.h"

namespace lumivex {

CaptureCommand::Parsed CaptureCommand::parse(const QStringList& options)
{
    const QString capturePrefix = QStringLiteral("--capture=");
    const QString outputPrefix = QStringLiteral("--output=");
    Parsed parsed;
    std::optional<QString> output;
    bool clipboard = false;
    for (const QString& option : options) {
        if (option.startsWith(capturePrefix)) {
            const QString kind = option.mid(capturePrefix.size());
            CaptureCommand command;
            if (kind == QLatin1String("area"))
                command.kind = Kind::area;
            else if (kind == QLatin1String("window"))
                command.kind = Kind::window;
            else if (kind == QLatin1String("fullscreen"))
                command.kind = Kind::fullscreen;
            else
                return {std::nullopt, QStringLiteral("unknown capture \"%1\": use --capture=area, --capture=window "
                                                     "or --capture=fullscreen").arg(kind)};
            if (parsed.command && parsed.command->kind != command.kind)
                return {std::nullopt, QStringLiteral("only one --capture can be asked for at a time")};
            parsed.command = command;
        } else if (option == QLatin1String("--capture")) {
            return {std::nullopt, QStringLiteral("--capture needs a value: area, window or fullscreen")};
        } else if (option.startsWith(outputPrefix)) {
            output = option.mid(outputPrefix.size());
            if (output->isEmpty())
                return {std::nullopt, QStringLiteral("--output needs a file name")};
        } else if (option == QLatin1String("--clipboard")) {
            clipboard = true;
        }
    }
    if (output && !parsed.command)
        return {std::nullopt, QStringLiteral("--output only goes with --capture")};
    if (clipboard && !parsed.command)
        return {std::nullopt, QStringLiteral("--clipboard only goes with --capture")};
    if (output && clipboard)
        return {std::nullopt, QStringLiteral("--output and --clipboard cannot be used together")};
    if (parsed.command && output)
        parsed.command->outputPath = *output;
    if (parsed.command)
        parsed.command->toClipboard = clipboard;
    return parsed;
}

} // namespace lumivex
