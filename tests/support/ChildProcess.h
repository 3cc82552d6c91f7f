#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <sys/types.h>

#include <optional>

namespace lumivex::test {

// A child process started in its own process group, so that stopping it also stops everything it started
// (a window manager's helpers, a shell's children). Deliberately plain POSIX: the X server fixtures start
// before any Qt application object exists (the benchmarks connect Qt to the server they start).
class ChildProcess {
public:
    struct Launch {
        QString program;
        QStringList arguments;
        // "NAME=value" entries; empty means the caller's environment.
        QStringList environment;
        // Where stdout and stderr go: a file descriptor of the caller, or -1 for /dev/null.
        int outputFd = -1;
        int errorFd = -1;
        // A descriptor of the caller that the child inherits under the same number (e.g. Xvfb's -displayfd).
        int inheritedFd = -1;
    };

    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool start(const Launch& launch);
    pid_t pid() const { return m_pid; }
    bool isRunning();
    // The exit code once the process ended within the time (a signal death counts as 128 + signal).
    std::optional<int> waitForExit(int timeoutMs);
    // SIGTERM to the whole group, then SIGKILL after a grace period; always reaps the child.
    void stop();

    struct Result {
        int exitCode = -1;
        QByteArray output;
        QByteArray errors;
        bool timedOut = false;
        bool ok() const { return exitCode == 0 && !timedOut; }
    };
    // Runs a program to its end (or the timeout, when its group is killed) and collects its output.
    static Result run(const QString& program, const QStringList& arguments, const QStringList& environment,
                      int timeoutMs);

private:
    void reap(int status);

    pid_t m_pid = -1;
    std::optional<int> m_exitCode;
};

// The caller's environment as "NAME=value" entries with some variables replaced ("NAME=value") or removed
// ("NAME" alone).
QStringList environmentWith(const QStringList& changes);

} // namespace lumivex::test
