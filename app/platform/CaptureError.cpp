#include "app/platform/CaptureError.h"

#include <QCoreApplication>

namespace lumivex {

QString CaptureError::description() const
{
    switch (m_kind) {
    case Kind::failed:
        return QCoreApplication::translate("CaptureError", "캡처에 실패했습니다: %1").arg(m_underlying);
    case Kind::permissionDenied:
        return QCoreApplication::translate("CaptureError", "화면 기록 권한이 필요합니다.");
    case Kind::noDisplay:
        return QCoreApplication::translate("CaptureError", "캡처할 디스플레이를 찾지 못했습니다.");
    }
    return {};
}

} // namespace lumivex
