#include "core/analysis/RecognitionWorker.h"

#include "core/analysis/WorkerChannel.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace lumivex {

namespace {

const char* const workerName = "lumivex-ocr-worker";
// The worker finds its end of the socket here.
constexpr int workerSocket = 3;

QString failedToStart(const QString& why)
{
    return QCoreApplication::translate("RecognitionWorker", "텍스트 인식 프로세스를 시작하지 못했습니다: %1").arg(why);
}

QString stoppedMidway()
{
    return QCoreApplication::translate("RecognitionWorker", "텍스트 인식 프로세스가 도중에 멈췄습니다.");
}

// This process's environment with OMP_THREAD_LIMIT=1, whatever it held before.
std::vector<std::string> workerEnvironment()
{
    std::vector<std::string> variables;
    for (char** variable = environ; variable && *variable; ++variable) {
        if (std::strncmp(*variable, "OMP_THREAD_LIMIT=", 17) != 0)
            variables.emplace_back(*variable);
    }
    variables.emplace_back("OMP_THREAD_LIMIT=1");
    return variables;
}

} // namespace

RecognitionWorker::RecognitionWorker(QString executable) : m_executable(std::move(executable)) {}

RecognitionWorker::~RecognitionWorker()
{
    std::lock_guard lock(m_mutex);
    stopLocked();
}

RecognitionWorker& RecognitionWorker::shared()
{
    static RecognitionWorker worker;
    return worker;
}

QString RecognitionWorker::defaultExecutable()
{
    const QString beside = QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(workerName);
    if (QCoreApplication::instance() && QFileInfo(beside).isExecutable())
        return beside;
#ifdef LUMIVEX_OCR_WORKER_BUILD_PATH
    return QStringLiteral(LUMIVEX_OCR_WORKER_BUILD_PATH);
#else
    return beside;
#endif
}

int RecognitionWorker::processesStarted() const
{
    std::lock_guard lock(m_mutex);
    return m_started;
}

bool RecognitionWorker::startLocked(QString& error)
{
    int sockets[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sockets) != 0) {
        error = failedToStart(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // dup2 clears close-on-exec on the copy, so only this one end reaches the worker.
    posix_spawn_file_actions_adddup2(&actions, sockets[1], workerSocket);
    // Tesseract talks on stdout; the application's own output stays clean.
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);

    const QByteArray path = QFile::encodeName(m_executable);
    std::vector<std::string> environment = workerEnvironment();
    std::vector<char*> environmentPointers;
    for (std::string& variable : environment)
        environmentPointers.push_back(variable.data());
    environmentPointers.push_back(nullptr);
    char* arguments[] = {const_cast<char*>(path.constData()), nullptr};

    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, path.constData(), &actions, nullptr, arguments, environmentPointers.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(sockets[1]);
    if (spawned != 0) {
        ::close(sockets[0]);
        error = failedToStart(QStringLiteral("%1 (%2)").arg(QString::fromLocal8Bit(std::strerror(spawned)), m_executable));
        return false;
    }
    m_pid = pid;
    m_socket = sockets[0];
    ++m_started;
    return true;
}

void RecognitionWorker::stopLocked()
{
    if (m_socket >= 0)
        ::close(m_socket);
    m_socket = -1;
    if (const pid_t pid = m_pid; pid > 0) {
        // Closing the socket ends a waiting worker on its own; one that is still reading is stopped.
        ::kill(pid, SIGKILL);
        while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    m_pid = 0;
}

RecognitionWorker::Reply RecognitionWorker::read(const QImage& picture, const QString& firstModels,
                                                 const QString& secondModels)
{
    const QImage grey = picture.format() == QImage::Format_Grayscale8 ? picture
                                                                        : picture.convertToFormat(QImage::Format_Grayscale8);
    WorkerChannel::Message request;
    request.header = QJsonObject{{QStringLiteral("width"), grey.width()},
                                 {QStringLiteral("height"), grey.height()},
                                 {QStringLiteral("passes"), QJsonArray{firstModels, secondModels}}};
    request.data.reserve(qsizetype(grey.width()) * grey.height());
    for (int y = 0; y < grey.height(); ++y)
        request.data.append(reinterpret_cast<const char*>(grey.constScanLine(y)), grey.width());

    std::lock_guard lock(m_mutex);
    // A worker that ended while idle (killed, out of memory) is no fault of this request: start another.
    if (m_pid > 0 && ::waitpid(m_pid, nullptr, WNOHANG) == m_pid) {
        m_pid = 0;
        stopLocked();
    }
    QString error;
    if (m_pid == 0 && !startLocked(error))
        return error;

    std::optional<WorkerChannel::Message> reply;
    if (WorkerChannel::send(m_socket, request))
        reply = WorkerChannel::receive(m_socket, requestTimeoutMs);
    if (!reply) {
        // Dead, hung or talking nonsense: this request fails and the next one starts a new worker.
        stopLocked();
        return stoppedMidway();
    }
    const QJsonValue failure = reply->header.value(QStringLiteral("error"));
    if (failure.isString())
        return QCoreApplication::translate("RecognitionWorker", "텍스트를 읽지 못했습니다: %1").arg(failure.toString());
    const QJsonArray passes = reply->header.value(QStringLiteral("passes")).toArray();
    const auto first = WorkerChannel::candidatesFromJson(passes.at(0));
    const auto second = WorkerChannel::candidatesFromJson(passes.at(1));
    if (!first || !second) {
        stopLocked();
        return stoppedMidway();
    }
    return Passes{*first, *second};
}

} // namespace lumivex
