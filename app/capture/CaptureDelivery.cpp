#include "app/capture/CaptureDelivery.h"

#include "core/render/Exporter.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace lumivex::CaptureDelivery {
namespace {

QString describe(const ExportError& error) { return error.message() + QLatin1Char(' ') + error.detail(); }

} // namespace

QString deliver(const CaptureCommand& command, const QImage& image, double pixelScale)
{
    if (command.toClipboard) {
        if (Exporter::copyToPasteboard(image, pixelScale, QGuiApplication::clipboard()))
            return {};
        return QCoreApplication::translate("CaptureDelivery", "캡처한 이미지를 클립보드에 복사하지 못했습니다.");
    }
    if (const std::optional<ExportError> error = Exporter::writeImage(image, pixelScale, command.outputPath))
        return describe(*error);
    return {};
}

QString outputProblem(const CaptureCommand& command)
{
    if (command.outputPath.isEmpty())
        return {};
    const QByteArray folder = QFile::encodeName(QFileInfo(command.outputPath).absolutePath());
    struct stat status;
    int error = 0;
    if (::stat(folder.constData(), &status) != 0)
        error = errno;
    else if (!S_ISDIR(status.st_mode))
        error = ENOTDIR;
    else if (::access(folder.constData(), W_OK | X_OK) != 0)
        error = errno;
    if (error == 0)
        return {};
    return describe(ExportError::couldNotWrite(command.outputPath, qt_error_string(error)));
}

void exitWhenClipboardTaken()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    const auto exitUnlessOwner = [clipboard] {
        if (!clipboard->ownsClipboard())
            QCoreApplication::exit(0);
    };
    QObject::connect(clipboard, &QClipboard::changed, clipboard, [exitUnlessOwner](QClipboard::Mode mode) {
        if (mode == QClipboard::Clipboard)
            exitUnlessOwner();
    });
    // A clipboard manager may have taken it over already; exit() only works once the loop runs.
    QMetaObject::invokeMethod(clipboard, exitUnlessOwner, Qt::QueuedConnection);
}

} // namespace lumivex::CaptureDelivery
