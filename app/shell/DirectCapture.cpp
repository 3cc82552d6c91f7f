#include "app/shell/DirectCapture.h"

#include "app/capture/CaptureDelivery.h"
#include "app/platform/X11CaptureBackend.h"
#include "app/shell/InstanceService.h"
#include "app/shell/Launch.h"
#include "app/shell/LaunchRequest.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdio>

namespace lumivex::DirectCapture {
namespace {

int report(const QString& message, int exitCode)
{
    std::fprintf(stderr, "lumivex: %s\n", qPrintable(message));
    return exitCode;
}

QString captureFailure(const CaptureError& error)
{
    return QCoreApplication::translate("lumivex::CaptureFlow", "캡처하지 못했습니다") + QLatin1String(": ")
        + error.description();
}

// The connection of this backend is the first the process makes to the display; freezing is the first thing
// it asks for.
DisplayCapture freezeDisplayUnderPointer(bool& connected)
{
    X11CaptureBackend backend(X11CaptureBackend::Options{});
    connected = backend.isConnected();
    return backend.captureDisplayUnderPointer();
}

// A running Lumivex does the capture itself: no start-up here, and a clipboard that outlives this command.
std::optional<int> forwardToInstance(const CaptureCommand& command)
{
    const std::optional<QDBusConnection> bus = InstanceService::sessionBus();
    if (!bus)
        return std::nullopt;
    LaunchRequest request;
    request.capture = command;
    return InstanceService::forward(request, *bus);
}

int finish(const CaptureCommand& command, const DisplayCapture& captured, bool connected)
{
    if (const QString unreachable = connected ? QString() : Platform::unreachableDisplayMessage(); !unreachable.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(unreachable));
        return 2;
    }
    if (const CaptureError* error = std::get_if<CaptureError>(&captured))
        return report(captureFailure(*error), 1);
    const DisplayShot& shot = std::get<QList<DisplayShot>>(captured).first();
    if (const QString failure = CaptureDelivery::deliver(command, shot.image, shot.scale()); !failure.isEmpty())
        return report(failure, 1);
    return 0;
}

int writeFile(const CaptureCommand& command, int& argc, char** argv)
{
    QCoreApplication app(argc, argv);
    Launch::installTranslations();
    if (const QString problem = CaptureDelivery::outputProblem(command); !problem.isEmpty())
        return report(problem, 1);
    if (const std::optional<int> handedOver = forwardToInstance(command))
        return *handedOver;
    bool connected = false;
    const DisplayCapture captured = freezeDisplayUnderPointer(connected);
    return finish(command, captured, connected);
}

int copyToClipboard(const CaptureCommand& command, int& argc, char** argv)
{
    bool connected = false;
    const DisplayCapture captured = freezeDisplayUnderPointer(connected);
    if (!connected) { // Qt's platform layer would abort on this display
        QCoreApplication app(argc, argv);
        Launch::installTranslations();
        return finish(command, captured, connected);
    }
    QGuiApplication app(argc, argv);
    Launch::installTranslations();
    // The screen is frozen before anything else; only now can the bus be asked whether an instance runs.
    if (const std::optional<int> handedOver = forwardToInstance(command))
        return *handedOver;
    if (const int exitCode = finish(command, captured, connected); exitCode != 0)
        return exitCode;
    CaptureDelivery::exitWhenClipboardTaken();
    return app.exec();
}

} // namespace

bool handles(const CaptureCommand& command)
{
    return command.kind == CaptureCommand::Kind::fullscreen && !command.opensEditor()
        && Platform::kindBeforeStart() == PlatformKind::x11;
}

int run(const CaptureCommand& command, int& argc, char** argv)
{
    return command.toClipboard ? copyToClipboard(command, argc, argv) : writeFile(command, argc, argv);
}

} // namespace lumivex::DirectCapture
