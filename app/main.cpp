#include "app/capture/CaptureCommand.h"
#include "app/platform/CaptureBackend.h"
#include "app/platform/Platform.h"
#include "app/shell/Application.h"
#include "app/shell/CaptureFlow.h"
#include "app/shell/DirectCapture.h"
#include "app/shell/InstanceService.h"
#include "app/shell/Launch.h"
#include "app/shell/LaunchRequest.h"
#include "app/shell/QuitSignals.h"
#include "core/analysis/WorkerTextReader.h"
#include "core/document/EditorDocument.h"
#include "core/settings/CaptureSettings.h"

#include <QApplication>
#include <QDir>

#include <cstdio>

using namespace lumivex;

namespace {

// A capture to a file or the clipboard with no instance running: done in this process, which then ends.
int runOneShot(QApplication& app, const LaunchRequest& request)
{
    (new CaptureFlow(CaptureBackend::create(Platform::kind()), &app))->runCommand(*request.capture);
    return app.exec();
}

} // namespace

int main(int argc, char** argv)
{
    // The command line is read before any application object exists: a full-screen capture to a file or the
    // clipboard freezes the screen first and starts only what it needs.
    QStringList rawArguments;
    for (int i = 0; i < argc; ++i)
        rawArguments.append(QString::fromLocal8Bit(argv[i]));
    const LaunchRequest raw = LaunchRequest::parse(rawArguments, QDir::currentPath());
    if (!raw.error.isEmpty()) {
        std::fprintf(stderr, "lumivex: %s\n", qPrintable(raw.error));
        return 2;
    }
    if (!Launch::displayAvailable()) {
        std::fprintf(stderr, "%s\n", qPrintable(Launch::noDisplayMessage()));
        return 2;
    }
    if (raw.isOneShotCapture() && raw.files.isEmpty() && !raw.openClipboard && DirectCapture::handles(*raw.capture))
        return DirectCapture::run(*raw.capture, argc, argv);
    if (const QString problem = Platform::unreachableDisplayMessage(); !problem.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lumivex"));
    QApplication::setOrganizationName(QStringLiteral("lumivex"));
    QApplication::setDesktopFileName(QStringLiteral("lumivex"));
    Launch::installTranslations();

    // Read again without the options Qt took for itself (such as -platform NAME).
    const LaunchRequest request = LaunchRequest::parse(QCoreApplication::arguments(), QDir::currentPath());
    // One Lumivex per session: a running one takes the request over and this start ends here.
    const std::optional<QDBusConnection> bus = InstanceService::sessionBus();
    if (bus) {
        if (const std::optional<int> handedOver = InstanceService::forward(request, *bus))
            return *handedOver;
    }
    if (request.isOneShotCapture())
        return runOneShot(app, request);

    // Text is read by a worker process of our own: the recognition library stays out of this process.
    EditorDocument::setDefaultTextReader(std::make_shared<WorkerTextReader>());
    Application application(CaptureSettings::shared(), std::make_unique<CaptureFlow>(CaptureBackend::create(Platform::kind())));
    // Another start may have taken the name since the check above: then it is the instance.
    if (bus && !application.serveOn(*bus)) {
        if (const std::optional<int> handedOver = InstanceService::forward(request, *bus))
            return *handedOver;
    }
    // The end of the desktop session reaches Qt from the session manager and ends the event loop by itself.
    QuitSignals signals;
    QObject::connect(&signals, &QuitSignals::received, &application, [&application] { application.quit(); });
    application.launch(request);
    return app.exec();
}
