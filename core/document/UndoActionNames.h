#pragma once

#include <QString>

namespace lumivex {

// The names shown in the Edit menu for each undoable action. Each is a localised lookup in the
// "EditorDocument" context whose key is the Korean text.
namespace UndoActionNames {

QString add();              // 추가
QString remove();           // 삭제
QString bringToFront();     // 맨 앞으로
QString sendToBack();       // 맨 뒤로
QString changeRatio();      // 비율 변경
QString changePadding();    // 여백 변경
QString changeStyle();      // 스타일 변경
QString textBoxSize();      // 글자 상자 크기
QString crop();             // 자르기
QString removeCrop();       // 자르기 해제
QString coverFaces();       // 얼굴 가리기
QString move();             // 이동
QString resize();           // 크기 조절
QString movePoint();        // 점 이동
QString rotate();           // 회전
QString bendArrow();        // 화살표 휘기
QString editText();         // 텍스트 편집

} // namespace UndoActionNames

} // namespace lumivex
