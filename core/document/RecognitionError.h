#pragma once

#include <QString>

namespace lumivex {

// Why text could not be read, with texts for the alert that reports it.
class RecognitionError {
public:
    enum class Kind {
        unreadablePicture, // the picture could not be flattened into a bitmap to read
        recognitionFailed, // the recognition itself failed (no models, the worker died, ...)
    };

    static RecognitionError unreadablePicture();
    static RecognitionError recognitionFailed(const QString& reason);

    Kind kind() const { return m_kind; }
    // The alert's message: "텍스트를 인식하지 못했습니다."
    const QString& message() const { return m_message; }
    // The alert's informative text: what failed.
    const QString& detail() const { return m_detail; }

    bool operator==(const RecognitionError&) const = default;

private:
    RecognitionError(Kind kind, QString message, QString detail);

    Kind m_kind;
    QString m_message;
    QString m_detail;
};

} // namespace lumivex
