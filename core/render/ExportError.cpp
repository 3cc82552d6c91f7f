#include "ExportError.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace lumivex {
namespace {

QString saveFailedMessage()
{
    return QCoreApplication::translate("ExportError", "파일을 저장하지 못했습니다.");
}

} // namespace

ExportError::ExportError(Kind kind, QString path, QString message, QString detail)
    : m_kind(kind), m_path(std::move(path)), m_message(std::move(message)), m_detail(std::move(detail))
{
}

ExportError ExportError::couldNotEncode(const QString& path, const ExportFormat& format)
{
    const QString formatName = format.kind() == ExportFormat::Kind::jpeg ? QStringLiteral("JPEG")
                                                                         : QStringLiteral("PNG");
    return ExportError(Kind::couldNotEncode, path, saveFailedMessage(),
                       QCoreApplication::translate("ExportError", "이미지를 %1 형식으로 만들지 못했습니다.")
                           .arg(formatName));
}

ExportError ExportError::couldNotWrite(const QString& path, const QString& systemMessage)
{
    return ExportError(Kind::couldNotWrite, path, saveFailedMessage(),
                       QCoreApplication::translate("ExportError", "“%1”에 쓰지 못했습니다: %2")
                           .arg(QFileInfo(path).fileName(), systemMessage));
}

} // namespace lumivex
