#include "AtomicFileWriter.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumivex::AtomicFileWriter {
namespace {

// More than anyone saves in one second; past it something is wrong with the folder.
constexpr int maxAttempts = 10000;

QString systemError(int error)
{
    return qt_error_string(error);
}

// A hidden temporary file beside the target, removed unless release() hands its name on.
class TemporaryFile {
public:
    explicit TemporaryFile(const QString& folder)
    {
        m_path = QFile::encodeName(QDir(folder).filePath(QStringLiteral(".lumivex-XXXXXX")));
        m_fd = ::mkstemp(m_path.data()); // mode 0600
        if (m_fd < 0)
            m_error = errno;
    }
    ~TemporaryFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (m_fd >= 0 || m_closed)
            ::unlink(m_path.constData());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int error() const { return m_error; }
    const QByteArray& path() const { return m_path; }

    // Writes everything, flushes it to the disk and closes the file; false with error() set on failure.
    bool writeAndClose(const QByteArray& bytes)
    {
        qsizetype written = 0;
        while (written < bytes.size()) {
            const ssize_t n = ::write(m_fd, bytes.constData() + written, std::size_t(bytes.size() - written));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return fail(n < 0 ? errno : ENOSPC);
            written += n;
        }
        if (::fsync(m_fd) != 0)
            return fail(errno);
        const int fd = m_fd;
        m_fd = -1;
        m_closed = true;
        if (::close(fd) != 0)
            return fail(errno);
        return true;
    }

    // The file now lives under another name: nothing to remove.
    void release() { m_closed = false; }

private:
    bool fail(int error)
    {
        m_error = error;
        return false;
    }

    QByteArray m_path;
    int m_fd = -1;
    bool m_closed = false;
    int m_error = 0;
};

enum class Claim { taken, nameExists, failed };

// Gives the temporary file the target name unless an entry of that name exists, in one step. Filesystems
// without RENAME_NOREPLACE get link() (which also refuses an existing name) and, failing that, a check just
// before the rename, the only variant with a (tiny) race.
Claim claimName(const QByteArray& temporary, const QByteArray& target, int& error)
{
    if (::renameat2(AT_FDCWD, temporary.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return Claim::taken;
    error = errno;
    if (error == EEXIST)
        return Claim::nameExists;
    if (error != EINVAL && error != ENOSYS && error != EOPNOTSUPP)
        return Claim::failed;

    if (::link(temporary.constData(), target.constData()) == 0) {
        ::unlink(temporary.constData());
        return Claim::taken;
    }
    error = errno;
    if (error == EEXIST)
        return Claim::nameExists;
    if (error != EPERM && error != EOPNOTSUPP)
        return Claim::failed;

    struct stat existing;
    if (::lstat(target.constData(), &existing) == 0)
        return Claim::nameExists;
    if (::rename(temporary.constData(), target.constData()) == 0)
        return Claim::taken;
    error = errno;
    return Claim::failed;
}

} // namespace

Outcome replace(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {path, file.errorString()};
    // Also applies when an existing file of wider permissions is replaced: the new contents are a screenshot.
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (file.write(bytes) != bytes.size()) {
        const QString error = file.errorString();
        file.cancelWriting();
        return {path, error};
    }
    if (!file.commit())
        return {path, file.errorString()};
    return {path, {}};
}

Outcome createUnderFreeName(const QString& folder, const QByteArray& bytes,
                            const std::function<QString(int attempt)>& nameForAttempt)
{
    TemporaryFile temporary(folder);
    if (temporary.error() != 0)
        return {folder, systemError(temporary.error())};
    if (!temporary.writeAndClose(bytes))
        return {folder, systemError(temporary.error())};

    const QDir directory(folder);
    for (int attempt = 1; attempt <= maxAttempts; ++attempt) {
        const QString path = directory.filePath(nameForAttempt(attempt));
        int error = 0;
        switch (claimName(temporary.path(), QFile::encodeName(path), error)) {
        case Claim::taken:
            temporary.release();
            return {path, {}};
        case Claim::nameExists:
            continue;
        case Claim::failed:
            return {path, systemError(error)};
        }
    }
    return {folder, systemError(EEXIST)};
}

} // namespace lumivex::AtomicFileWriter
