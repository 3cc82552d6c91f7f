#include "app/shell/InstanceService.h"

#include "app/shell/LaunchRequest.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QFileInfo>
#include <QPointer>

#include <climits>
#include <cstdio>

namespace lumivex {

namespace {

std::optional<CaptureCommand::Kind> kindFromName(const QString& name)
{
    if (name == QLatin1String("area"))
        return CaptureCommand::Kind::area;
    if (name == QLatin1String("window"))
        return CaptureCommand::Kind::window;
    if (name == QLatin1String("fullscreen"))
        return CaptureCommand::Kind::fullscreen;
    return std::nullopt;
}

QString kindName(CaptureCommand::Kind kind)
{
    switch (kind) {
    case CaptureCommand::Kind::area:
        return QStringLiteral("area");
    case CaptureCommand::Kind::window:
        return QStringLiteral("window");
    case CaptureCommand::Kind::fullscreen:
        break;
    }
    return QStringLiteral("fullscreen");
}

QDBusMessage method(const char* name)
{
    return QDBusMessage::createMethodCall(QLatin1String(InstanceService::serviceName),
                                          QLatin1String(InstanceService::objectPath),
                                          QLatin1String(InstanceService::interfaceName), QLatin1String(name));
}

// Whether the instance took the call. A capture to a file waits for the user to pick the area, so it may take as
// long as the user likes; everything else is answered at once.
bool deliver(const QDBusConnection& bus, const QDBusMessage& call, int timeoutMs, QString* failure = nullptr)
{
    const QDBusMessage reply = bus.call(call, QDBus::Block, timeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return true;
    if (failure)
        *failure = reply.errorName() == QLatin1String(InstanceService::failedError) ? reply.errorMessage() : QString();
    return false;
}

} // namespace

InstanceService::InstanceService(Handlers handlers, QObject* parent) : QObject(parent), m_handlers(std::move(handlers))
{
}

InstanceService::~InstanceService()
{
    if (m_bus) {
        m_bus->unregisterService(QLatin1String(serviceName));
        m_bus->unregisterObject(QLatin1String(objectPath));
    }
}

std::optional<QDBusConnection> InstanceService::sessionBus()
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    const bool userBus = !runtime.isEmpty() && QFileInfo(QFile::decodeName(runtime) + QStringLiteral("/bus")).exists();
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS") && !userBus)
        return std::nullopt;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return std::nullopt;
    return bus;
}

bool InstanceService::claim(const QDBusConnection& bus)
{
    QDBusConnection connection = bus;
    // The object first: a request that arrives the moment the name is ours must find it.
    if (!connection.registerObject(QLatin1String(objectPath), this, QDBusConnection::ExportScriptableSlots))
        return false;
    if (!connection.registerService(QLatin1String(serviceName))) {
        connection.unregisterObject(QLatin1String(objectPath));
        return false;
    }
    m_bus = connection;
    return true;
}

std::optional<int> InstanceService::forward(const LaunchRequest& request, const QDBusConnection& bus)
{
    QDBusConnectionInterface* names = bus.interface();
    if (!names || !names->isServiceRegistered(QLatin1String(serviceName)).value())
        return std::nullopt;
    constexpr int quickMs = 25000;
    if (request.isOneShotCapture()) {
        QDBusMessage call = method("CaptureTo");
        call << kindName(request.capture->kind) << request.capture->outputPath << request.capture->toClipboard;
        QString failure;
        if (deliver(bus, call, INT_MAX, &failure))
            return 0;
        if (failure.isEmpty())
            return std::nullopt; // the instance went away meanwhile
        std::fprintf(stderr, "lumivex: %s\n", qPrintable(failure));
        return 1;
    }
    QList<QDBusMessage> calls;
    if (!request.files.isEmpty()) {
        QDBusMessage call = method("OpenFiles");
        call << request.files;
        calls.append(call);
    }
    if (request.capture) {
        static const char* const byKind[] = {"CaptureArea", "CaptureWindow", "CaptureFullScreen"};
        calls.append(method(byKind[int(request.capture->kind)]));
    }
    if (request.openClipboard)
        calls.append(method("OpenClipboard"));
    // A login start while one runs has nothing to add; a bare start is the reopen rule: the start window.
    if (request.asksForNothing())
        calls.append(method("ShowStartWindow"));
    for (const QDBusMessage& call : calls) {
        if (!deliver(bus, call, quickMs))
            return calls.first().member() == call.member() ? std::nullopt : std::optional<int>(1);
    }
    return 0;
}

void InstanceService::CaptureArea()
{
    m_handlers.capture(CaptureCommand::Kind::area);
}

void InstanceService::CaptureWindow()
{
    m_handlers.capture(CaptureCommand::Kind::window);
}

void InstanceService::CaptureFullScreen()
{
    m_handlers.capture(CaptureCommand::Kind::fullscreen);
}

void InstanceService::OpenClipboard()
{
    m_handlers.openClipboard();
}

void InstanceService::OpenFiles(const QStringList& paths)
{
    // Relative paths would be read against this process's folder, which is not the caller's.
    QStringList absolute;
    for (const QString& path : paths) {
        if (QDir::isAbsolutePath(path))
            absolute.append(path);
    }
    m_handlers.openFiles(absolute);
}

void InstanceService::ShowStartWindow()
{
    m_handlers.showStartWindow();
}

void InstanceService::CaptureTo(const QString& kind, const QString& output, bool clipboard)
{
    const std::optional<CaptureCommand::Kind> parsed = kindFromName(kind);
    QString problem;
    if (!parsed)
        problem = QStringLiteral("unknown capture \"%1\": use area, window or fullscreen").arg(kind);
    else if (output.isEmpty() == !clipboard)
        problem = QStringLiteral("give either an output file or the clipboard");
    else if (!output.isEmpty() && !QDir::isAbsolutePath(output))
        problem = QStringLiteral("the output file needs an absolute path: %1").arg(output);
    if (!problem.isEmpty()) {
        sendErrorReply(QLatin1String(failedError), problem);
        return;
    }
    setDelayedReply(true);
    const QDBusMessage request = message();
    QDBusConnection bus = connection();
    CaptureCommand command;
    command.kind = *parsed;
    command.outputPath = output;
    command.toClipboard = clipboard;
    m_handlers.captureTo(command, [request, bus](const QString& failure) mutable {
        bus.send(failure.isEmpty() ? request.createReply()
                                   : request.createErrorReply(QLatin1String(failedError), failure));
    });
}

} // namespace lumivex
