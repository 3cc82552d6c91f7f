#pragma once

#include "core/analysis/TextRecognizer.h"

#include <QImage>
#include <QString>

#include <array>
#include <atomic>
#include <mutex>
#include <sys/types.h>
#include <variant>
#include <vector>

namespace lumivex {

// The application's side of the text-recognition worker process (lumivex-ocr-worker). The worker is started on
// the first request with OMP_THREAD_LIMIT=1 in its environment (Debian's Tesseract spins OpenMP threads that
// make it several times slower on a few cores, and only the environment the library loads with counts), keeps
// its models loaded between requests and reads both passes at once. A crash inside the recognition library ends
// the worker, not the application: that request fails, and the next one starts a new worker.
//
// Requests from several threads are served one after another.
class RecognitionWorker {
public:
    using Passes = std::array<std::vector<TextRecognizer::Candidate>, 2>;
    // Both passes' lines in the picture's pixels, or why there are none (a translated text).
    using Reply = std::variant<Passes, QString>;

    // A request that takes longer than this is taken for a hung worker, which is ended.
    static constexpr int requestTimeoutMs = 300'000;

    explicit RecognitionWorker(QString executable = defaultExecutable());
    ~RecognitionWorker();
    RecognitionWorker(const RecognitionWorker&) = delete;
    RecognitionWorker& operator=(const RecognitionWorker&) = delete;

    // The worker of this process, ended when the process ends.
    static RecognitionWorker& shared();
    // Beside the running program, or else where the build put it.
    static QString defaultExecutable();

    // Reads a grey picture (Format_Grayscale8) with the first pass's models ("kor+eng") and the automatic pass's.
    Reply read(const QImage& picture, const QString& firstModels, const QString& secondModels);

    // The running worker's process id, 0 when none runs. Readable while a request is under way.
    pid_t processId() const { return m_pid.load(); }
    // How many worker processes this object has started so far.
    int processesStarted() const;

private:
    bool startLocked(QString& error);
    void stopLocked();

    const QString m_executable;
    mutable std::mutex m_mutex;
    std::atomic<pid_t> m_pid = 0;
    int m_socket = -1;
    int m_started = 0;
};

} // namespace lumivex
