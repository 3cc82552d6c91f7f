#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <sys/types.h>

#include <optional>

namespace lumivex::test {

// A child process in its own process group, so that stopping it stops everything it started. Plain POSIX: the
// X server fixtures start before any Qt application object exists.
class ChildProcess {
public:
    struct Launch {
        QString program;
        QStringList arguments;
        QStringList environment; // "NAME=value" entries; empty: the caller's environment
        int outputFd = -1;       // where stdout and stderr go (-1: /dev/null)
        int errorFd = -1;
        int inheritedFd = -1; // inherited under the same number (e.g. Xvfb's -displayfd)
    };

    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool start(const Launch& launch);
    pid_t pid() const { return m_pid; }
    bool isRunning();
    // The exit code (128 + signal after a signal) once the process ended within the time.
    std::optional<int> waitForExit(int timeoutMs);
    void stop(); // SIGTERM to the group, SIGKILL after a grace period

    struct Result {
        int exitCode = -1;
        QByteArray output;
        QByteArray errors;
        bool timedOut = false;
        bool ok() const { return exitCode == 0 && !timedOut; }
    };
    // Runs a program to its end (or kills it at the timeout) and collects its output.
    static Result run(const QString& program, const QStringList& arguments, const QStringList& environment,
                      int timeoutMs);

private:
    void reap(int status);

    pid_t m_pid = -1;
    std::optional<int> m_exitCode;
};

// The caller's environment with variables replaced ("NAME=value") or removed ("NAME").
QStringList environmentWith(const QStringList& changes);

} // namespace lumivex::test
