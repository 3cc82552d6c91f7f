#include "core/document/UndoActionNames.h"

#include <QCoreApplication>

namespace lumivex::UndoActionNames {

// Each lookup is spelled out so that lupdate finds the Korean source texts.
QString add() { return QCoreApplication::translate("EditorDocument", "추가"); }
QString remove() { return QCoreApplication::translate("EditorDocument", "삭제"); }
QString bringToFront() { return QCoreApplication::translate("EditorDocument", "맨 앞으로"); }
QString sendToBack() { return QCoreApplication::translate("EditorDocument", "맨 뒤로"); }
QString changeRatio() { return QCoreApplication::translate("EditorDocument", "비율 변경"); }
QString changePadding() { return QCoreApplication::translate("EditorDocument", "여백 변경"); }
QString changeStyle() { return QCoreApplication::translate("EditorDocument", "스타일 변경"); }
QString textBoxSize() { return QCoreApplication::translate("EditorDocument", "글자 상자 크기"); }
QString crop() { return QCoreApplication::translate("EditorDocument", "자르기"); }
QString removeCrop() { return QCoreApplication::translate("EditorDocument", "자르기 해제"); }
QString coverFaces() { return QCoreApplication::translate("EditorDocument", "얼굴 가리기"); }
QString move() { return QCoreApplication::translate("EditorDocument", "이동"); }
QString resize() { return QCoreApplication::translate("EditorDocument", "크기 조절"); }
QString movePoint() { return QCoreApplication::translate("EditorDocument", "점 이동"); }
QString rotate() { return QCoreApplication::translate("EditorDocument", "회전"); }
QString bendArrow() { return QCoreApplication::translate("EditorDocument", "화살표 휘기"); }
QString editText() { return QCoreApplication::translate("EditorDocument", "텍스트 편집"); }

} // namespace lumivex::UndoActionNames
