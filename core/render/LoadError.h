#pragma once

#include <QString>

namespace lumivex {

// Why an image file could not be opened, with texts for the message that reports it.
class LoadError {
public:
    enum class Kind {
        notFound,    // nothing at that path (or it vanished before it was read)
        notAFile,    // a folder, a pipe, a device: never read, so nothing can block or run forever
        unreadable,  // the system refused to read it (permissions, a symbolic link loop, an I/O error)
        tooLarge,    // the file, or the picture its header declares, is beyond what is loaded
        notAnImage,  // no picture could be decoded from it (another kind of file, truncated, corrupt)
    };

    LoadError(Kind kind, QString path, QString systemMessage = {});

    Kind kind() const { return m_kind; }
    const QString& path() const { return m_path; }
    // "이미지를 열지 못했습니다." (the same for every kind).
    QString message() const;
    // What went wrong with which file, with the operating system's own words where it gave any.
    QString detail() const;

    bool operator==(const LoadError&) const = default;

private:
    Kind m_kind;
    QString m_path;
    QString m_systemMessage;
};

} // namespace lumivex
