#pragma once

#include "core/render/ExportFormat.h"

#include <QString>

namespace lumivex {

// Why an image could not be written to a file, with texts for the alert that reports it.
class ExportError {
public:
    enum class Kind {
        couldNotEncode, // no image bytes came out (nothing to flatten, an encoder failed, memory ran out)
        couldNotWrite,  // the bytes could not be written (permissions, a vanished folder, a full disk, ...)
    };

    static ExportError couldNotEncode(const QString& path, const ExportFormat& format);
    static ExportError couldNotWrite(const QString& path, const QString& systemMessage);

    Kind kind() const { return m_kind; }
    const QString& path() const { return m_path; }
    // The alert's message: "파일을 저장하지 못했습니다." (the same for every kind).
    const QString& message() const { return m_message; }
    // The alert's informative text: what failed, with the operating system's own words for a write error.
    const QString& detail() const { return m_detail; }

    bool operator==(const ExportError&) const = default;

private:
    ExportError(Kind kind, QString path, QString message, QString detail);

    Kind m_kind;
    QString m_path;
    QString m_message;
    QString m_detail;
};

} // namespace lumivex
