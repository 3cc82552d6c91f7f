#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace lumivex::AtomicFileWriter {

// What a write did: the path written, or the operating system's description of why nothing was written.
struct Outcome {
    QString path;
    QString error;
    bool succeeded() const { return error.isEmpty(); }
};

// Writes the bytes to `path`, replacing any file there: they go to a temporary file in the same folder, which
// is flushed to disk and then renamed over the target. On failure the old file is unchanged and the temporary
// file is gone. The file is readable and writable by its owner only, since it holds screen contents.
Outcome replace(const QString& path, const QByteArray& bytes);

// Writes the bytes to a new file in `folder` under the first name nameForAttempt(1), nameForAttempt(2), ...
// that no entry of the folder has. Checking a name and taking it is one atomic step, so two writers (even two
// processes) never replace each other's file. Owner-only permissions, no partial file on failure.
Outcome createUnderFreeName(const QString& folder, const QByteArray& bytes,
                            const std::function<QString(int attempt)>& nameForAttempt);

} // namespace lumivex::AtomicFileWriter
