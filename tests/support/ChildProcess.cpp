#include "ChildProcess.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace lumivex::test {

namespace {

using Clock = std::chrono::steady_clock;

// A null-terminated argv-style array; the bytes live in `storage`.
std::vector<char*> cStrings(const QStringList& list, std::vector<QByteArray>& storage)
{
    std::vector<char*> pointers;
    for (const QString& item : list)
        storage.push_back(item.toLocal8Bit());
    for (QByteArray& item : storage)
        pointers.push_back(item.data());
    pointers.push_back(nullptr);
    return pointers;
}

} // namespace

QStringList environmentWith(const QStringList& changes)
{
    QStringList result;
    auto nameOf = [](const QString& entry) { return entry.section(QLatin1Char('='), 0, 0); };
    QStringList changedNames;
    for (const QString& change : changes)
        changedNames.append(nameOf(change));
    for (char** entry = environ; entry && *entry; ++entry) {
        const QString text = QString::fromLocal8Bit(*entry);
        if (!changedNames.contains(nameOf(text)))
            result.append(text);
    }
    for (const QString& change : changes)
        if (change.contains(QLatin1Char('=')))
            result.append(change);
    return result;
}

ChildProcess::~ChildProcess() { stop(); }

bool ChildProcess::start(const Launch& launch)
{
    stop();
    m_exitCode.reset();
    std::vector<QByteArray> argumentBytes, environmentBytes;
    std::vector<char*> argv = cStrings(QStringList{launch.program} + launch.arguments, argumentBytes);
    std::vector<char*> envp = cStrings(launch.environment, environmentBytes);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    auto route = [&](int from, int to) {
        if (from >= 0)
            posix_spawn_file_actions_adddup2(&actions, from, to);
        else
            posix_spawn_file_actions_addopen(&actions, to, "/dev/null", O_WRONLY, 0);
    };
    route(launch.outputFd, STDOUT_FILENO);
    route(launch.errorFd, STDERR_FILENO);
    if (launch.inheritedFd > STDERR_FILENO)
        posix_spawn_file_actions_adddup2(&actions, launch.inheritedFd, launch.inheritedFd); // clears close-on-exec

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    posix_spawnattr_setpgroup(&attributes, 0);
    sigset_t signals;
    sigemptyset(&signals);
    posix_spawnattr_setsigmask(&attributes, &signals);
    for (const int signal : {SIGPIPE, SIGTERM, SIGINT})
        sigaddset(&signals, signal);
    posix_spawnattr_setsigdefault(&attributes, &signals);

    pid_t pid = -1;
    const int error = posix_spawnp(&pid, argv[0], &actions, &attributes, argv.data(),
                                   launch.environment.isEmpty() ? environ : envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (error != 0)
        return false;
    m_pid = pid;
    return true;
}

void ChildProcess::reap(int status)
{
    m_exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
    m_pid = -1;
}

bool ChildProcess::isRunning()
{
    if (m_pid <= 0)
        return false;
    int status = 0;
    if (::waitpid(m_pid, &status, WNOHANG) == m_pid)
        reap(status);
    return m_pid > 0;
}

std::optional<int> ChildProcess::waitForExit(int timeoutMs)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (isRunning()) {
        if (Clock::now() >= deadline)
            return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return m_exitCode;
}

void ChildProcess::stop()
{
    if (!isRunning())
        return;
    ::kill(-m_pid, SIGTERM);
    ::kill(m_pid, SIGTERM);
    if (waitForExit(3000))
        return;
    ::kill(-m_pid, SIGKILL);
    ::kill(m_pid, SIGKILL);
    int status = 0;
    if (::waitpid(m_pid, &status, 0) == m_pid)
        reap(status);
    m_pid = -1;
}

ChildProcess::Result ChildProcess::run(const QString& program, const QStringList& arguments,
                                       const QStringList& environment, int timeoutMs)
{
    Result result;
    int outputPipe[2], errorPipe[2];
    if (::pipe2(outputPipe, O_CLOEXEC) != 0 || ::pipe2(errorPipe, O_CLOEXEC) != 0)
        return result; // (out of descriptors: the test fails anyway)
    ChildProcess child;
    const bool started = child.start({program, arguments, environment, outputPipe[1], errorPipe[1], -1});
    ::close(outputPipe[1]);
    ::close(errorPipe[1]);
    if (started) {
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        pollfd fds[2] = {{outputPipe[0], POLLIN, 0}, {errorPipe[0], POLLIN, 0}};
        int open = 2;
        while (open > 0) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0) {
                result.timedOut = true;
                break;
            }
            if (::poll(fds, 2, int(left)) < 0 && errno != EINTR)
                break;
            for (pollfd& fd : fds) {
                if (fd.fd < 0 || !(fd.revents & (POLLIN | POLLHUP | POLLERR)))
                    continue;
                char buffer[65536];
                const ssize_t n = ::read(fd.fd, buffer, sizeof buffer);
                if (n > 0) {
                    (fd.fd == outputPipe[0] ? result.output : result.errors).append(buffer, n);
                } else if (n == 0 || errno != EINTR) {
                    fd.fd = -1;
                    --open;
                }
            }
        }
        if (result.timedOut) {
            child.stop();
        } else {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            const std::optional<int> code = child.waitForExit(int(std::max<long long>(left, 100)));
            if (code)
                result.exitCode = *code;
            else
                result.timedOut = true;
        }
    }
    ::close(outputPipe[0]);
    ::close(errorPipe[0]);
    return result;
}

} // namespace lumivex::test
