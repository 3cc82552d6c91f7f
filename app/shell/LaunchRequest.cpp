#include "app/shell/LaunchRequest.h"

#include "app/shell/Launch.h"

#include <QDir>

#include <algorithm>

namespace lumivex {

LaunchRequest LaunchRequest::parse(const QStringList& arguments, const QString& workingDirectory)
{
    const LaunchOptions options = LaunchOptions::parse(arguments);
    const QDir base(workingDirectory);
    LaunchRequest request;
    for (const QString& file : options.files)
        request.files.append(QDir::cleanPath(base.absoluteFilePath(file)));
    request.loginItem = options.has(QStringLiteral("--login-item"));

    // "--clipboard" alone opens the clipboard's image; beside "--capture" it is where the picture goes.
    QStringList captureOptions = options.options;
    const bool capturing = std::any_of(captureOptions.begin(), captureOptions.end(), [](const QString& option) {
        return option.startsWith(QLatin1String("--capture"));
    });
    if (!capturing && captureOptions.removeAll(QStringLiteral("--clipboard")) > 0)
        request.openClipboard = true;
    const CaptureCommand::Parsed parsed = CaptureCommand::parse(captureOptions);
    request.error = parsed.error;
    request.capture = parsed.command;
    if (request.capture && !request.capture->outputPath.isEmpty())
        request.capture->outputPath = QDir::cleanPath(base.absoluteFilePath(request.capture->outputPath));
    return request;
}

} // namespace lumivex
