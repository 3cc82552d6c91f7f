#include "core/document/RecognitionError.h"

#include <QCoreApplication>

namespace lumivex {

namespace {

QString failedMessage() { return QCoreApplication::translate("RecognitionError", "텍스트를 인식하지 못했습니다."); }

} // namespace

RecognitionError::RecognitionError(Kind kind, QString message, QString detail)
    : m_kind(kind), m_message(std::move(message)), m_detail(std::move(detail))
{
}

RecognitionError RecognitionError::unreadablePicture()
{
    return RecognitionError(Kind::unreadablePicture, failedMessage(),
                            QCoreApplication::translate("RecognitionError", "그림을 읽을 수 있는 이미지로 만들지 못했습니다."));
}

RecognitionError RecognitionError::recognitionFailed(const QString& reason)
{
    return RecognitionError(Kind::recognitionFailed, failedMessage(), reason);
}

} // namespace lumivex
