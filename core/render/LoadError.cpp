#include "core/render/LoadError.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace lumivex {

LoadError::LoadError(Kind kind, QString path, QString systemMessage)
    : m_kind(kind), m_path(std::move(path)), m_systemMessage(std::move(systemMessage))
{
}

QString LoadError::message() const { return QCoreApplication::translate("LoadError", "이미지를 열지 못했습니다."); }

QString LoadError::detail() const
{
    const QString name = QFileInfo(m_path).fileName();
    switch (m_kind) {
    case Kind::notFound:
        return QCoreApplication::translate("LoadError", "“%1”이(가) 없습니다.").arg(name);
    case Kind::notAFile:
        return QCoreApplication::translate("LoadError", "“%1”은(는) 파일이 아닙니다.").arg(name);
    case Kind::unreadable:
        return QCoreApplication::translate("LoadError", "“%1”을(를) 읽지 못했습니다: %2").arg(name, m_systemMessage);
    case Kind::tooLarge:
        return QCoreApplication::translate("LoadError", "“%1”은(는) 너무 커서 열 수 없습니다.").arg(name);
    case Kind::notAnImage:
        return QCoreApplication::translate("LoadError", "“%1”은(는) 읽을 수 있는 이미지가 아니거나 손상되었습니다.")
            .arg(name);
    }
    return {};
}

} // namespace lumivex
