<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ko">
<context>
    <name>CaptureError</name>
    <message>
        <source>캡처에 실패했습니다: %1</source>
        <translation>Capture failed: %1</translation>
    </message>
    <message>
        <source>화면 기록 권한이 필요합니다.</source>
        <translation>Screen recording permission is required.</translation>
    </message>
    <message>
        <source>캡처할 디스플레이를 찾지 못했습니다.</source>
        <translation>No display to capture was found.</translation>
    </message>
</context>
<context>
    <name>CaptureOverlayView</name>
    <message>
        <source>드래그: 영역 선택   ·   Space: 창 선택   ·   Return: 전체 화면   ·   Esc: 취소</source>
        <translation>Drag: select area   ·   Space: select window   ·   Return: full screen   ·   Esc: cancel</translation>
    </message>
    <message>
        <source>클릭: 창 캡처   ·   Space: 영역 선택   ·   Return: 전체 화면   ·   Esc: 취소</source>
        <translation>Click: capture window   ·   Space: select area   ·   Return: full screen   ·   Esc: cancel</translation>
    </message>
</context>
<context>
    <name>EditorDocument</name>
    <message>
        <source>추가</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>삭제</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>맨 앞으로</source>
        <translation>Bring to Front</translation>
    </message>
    <message>
        <source>맨 뒤로</source>
        <translation>Send to Back</translation>
    </message>
    <message>
        <source>비율 변경</source>
        <translation>Change Ratio</translation>
    </message>
    <message>
        <source>여백 변경</source>
        <translation>Change Padding</translation>
    </message>
    <message>
        <source>스타일 변경</source>
        <translation>Change Style</translation>
    </message>
    <message>
        <source>글자 상자 크기</source>
        <translation>Text Box Size</translation>
    </message>
    <message>
        <source>자르기</source>
        <translation>Crop</translation>
    </message>
    <message>
        <source>자르기 해제</source>
        <translation>Remove Crop</translation>
    </message>
    <message>
        <source>얼굴 가리기</source>
        <translation>Cover Faces</translation>
    </message>
    <message>
        <source>이동</source>
        <translation>Move</translation>
    </message>
    <message>
        <source>크기 조절</source>
        <translation>Resize</translation>
    </message>
    <message>
        <source>점 이동</source>
        <translation>Move Point</translation>
    </message>
    <message>
        <source>회전</source>
        <translation>Rotate</translation>
    </message>
    <message>
        <source>화살표 휘기</source>
        <translation>Bend Arrow</translation>
    </message>
    <message>
        <source>텍스트 편집</source>
        <translation>Edit Text</translation>
    </message>
</context>
<context>
    <name>ExportError</name>
    <message>
        <source>파일을 저장하지 못했습니다.</source>
        <translation>The file could not be saved.</translation>
    </message>
    <message>
        <source>이미지를 %1 형식으로 만들지 못했습니다.</source>
        <translation>The image could not be encoded as %1.</translation>
    </message>
    <message>
        <source>“%1”에 쓰지 못했습니다: %2</source>
        <translation>Could not write “%1”: %2</translation>
    </message>
</context>
<context>
    <name>PortalCaptureBackend</name>
    <message>
        <source>데스크톱이 스크린샷을 거부했거나 찍지 못했습니다.</source>
        <translation>The desktop refused the screenshot or could not take it.</translation>
    </message>
    <message>
        <source>데스크톱 포털이 스크린샷 파일을 알려 주지 않았습니다.</source>
        <translation>The desktop portal did not name the screenshot file.</translation>
    </message>
    <message>
        <source>스크린샷 파일 %1을(를) 열 수 없습니다: %2</source>
        <translation>Cannot open the screenshot file %1: %2</translation>
    </message>
    <message>
        <source>스크린샷 파일 %1이(가) 보통 파일이 아닙니다.</source>
        <translation>The screenshot file %1 is not a regular file.</translation>
    </message>
    <message>
        <source>스크린샷 파일 %1의 주인이 다른 사용자라서 열지 않았습니다. 다른 사람의 그림일 수 있습니다.</source>
        <translation>The screenshot file %1 belongs to another user, so it was not opened. It may be someone else's picture.</translation>
    </message>
    <message>
        <source>스크린샷 파일 %1이(가) 이번 요청보다 오래되었습니다.</source>
        <translation>The screenshot file %1 is older than this request.</translation>
    </message>
    <message>
        <source>스크린샷 파일 %1을(를) 읽을 수 없습니다: %2</source>
        <translation>Cannot read the screenshot file %1: %2</translation>
    </message>
</context>
<context>
    <name>Tool</name>
    <message>
        <source>선택</source>
        <translation>Select</translation>
    </message>
    <message>
        <source>사각형(테두리)</source>
        <translation>Rectangle (outline)</translation>
    </message>
    <message>
        <source>사각형(채움)</source>
        <translation>Rectangle (filled)</translation>
    </message>
    <message>
        <source>원/타원(채움)</source>
        <translation>Ellipse (filled)</translation>
    </message>
    <message>
        <source>다각형(채움)</source>
        <translation>Polygon (filled)</translation>
    </message>
    <message>
        <source>화살표</source>
        <translation>Arrow</translation>
    </message>
    <message>
        <source>텍스트</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>블러</source>
        <translation>Blur</translation>
    </message>
    <message>
        <source>자르기</source>
        <translation>Crop</translation>
    </message>
    <message>
        <source>텍스트 추출</source>
        <translation>Extract text</translation>
    </message>
</context>
<context>
    <name>X11Connection</name>
    <message>
        <source>X 서버(%1)에 연결하지 못했습니다.</source>
        <translation>Could not connect to the X server (%1).</translation>
    </message>
    <message>
        <source>X 서버에 화면이 없습니다.</source>
        <translation>The X server has no screen.</translation>
    </message>
</context>
<context>
    <name>lumivex::CaptureCoordinator</name>
    <message>
        <source>화면을 캡처하는 작업이 중단되었습니다.</source>
        <translation>The screen capture was interrupted.</translation>
    </message>
    <message>
        <source>화면 기록 권한이 필요합니다</source>
        <translation>Screen recording permission is required</translation>
    </message>
    <message>
        <source>데스크톱의 개인정보 보호 설정에서 Lumivex의 화면 캡처를 허용한 뒤, 다시 시도하세요.</source>
        <translation>Allow Lumivex to capture the screen in your desktop’s privacy settings, then try again.</translation>
    </message>
    <message>
        <source>시스템 설정 열기</source>
        <translation>Open System Settings</translation>
    </message>
    <message>
        <source>닫기</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>캡처하지 못했습니다</source>
        <translation>Could not capture</translation>
    </message>
</context>
<context>
    <name>lumivex::EditorWindow</name>
    <message>
        <source>편집</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>실행 취소</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>다시 실행</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>클립보드에 복사됨</source>
        <translation>Copied to the clipboard</translation>
    </message>
    <message>
        <source>파일</source>
        <translation>File</translation>
    </message>
    <message>
        <source>클립보드에 복사됨 · %1 저장</source>
        <translation>Copied to the clipboard · saved %1</translation>
    </message>
    <message>
        <source>파일로 저장</source>
        <translation>Save to a file</translation>
    </message>
    <message>
        <source>PNG 이미지 (*.png)</source>
        <translation>PNG image (*.png)</translation>
    </message>
    <message>
        <source>JPEG 이미지 (*.jpg *.jpeg)</source>
        <translation>JPEG image (*.jpg *.jpeg)</translation>
    </message>
    <message>
        <source>저장됨 — %1</source>
        <translation>Saved — %1</translation>
    </message>
    <message>
        <source>얼굴을 찾지 못했습니다</source>
        <translation>No faces found</translation>
    </message>
    <message>
        <source>옆모습·뒷모습·아주 작은 얼굴은 감지되지 않을 수 있습니다. 도형이나 블러 도구로 직접 가려 주세요.</source>
        <translation>Faces in profile, from behind or very small may not be detected. Cover them yourself with a shape or the blur tool.</translation>
    </message>
    <message>
        <source>얼굴 %1개를 가렸습니다 — 놓친 얼굴은 직접 가려 주세요</source>
        <translation>Covered %1 faces — cover any missed ones yourself</translation>
    </message>
    <message>
        <source>복사</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>붙여넣기</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>삭제</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>전체 선택</source>
        <translation>Select All</translation>
    </message>
    <message>
        <source>저장…</source>
        <translation>Save…</translation>
    </message>
    <message>
        <source>이미지 속 글자 모두 복사</source>
        <translation>Copy All Text in the Image</translation>
    </message>
    <message>
        <source>글자를 읽는 중… (처음 한 번은 인식 모델을 준비하느라 오래 걸릴 수 있습니다)</source>
        <translation>Reading the text… (the first time takes longer while the recognition models load)</translation>
    </message>
    <message>
        <source>글자를 찾지 못했습니다</source>
        <translation>No text found</translation>
    </message>
    <message>
        <source>텍스트 %1자 복사됨</source>
        <translation>Copied %1 characters of text</translation>
    </message>
</context>
<context>
    <name>lumivex::X11ScreenGrabber</name>
    <message>
        <source>X 서버와의 연결이 끊어졌습니다.</source>
        <translation>The connection to the X server was lost.</translation>
    </message>
    <message>
        <source>이 X 서버의 화면 픽셀 형식은 지원하지 않습니다.</source>
        <translation>The screen pixel format of this X server is not supported.</translation>
    </message>
    <message>
        <source>X 서버의 화면 크기를 읽지 못했습니다.</source>
        <translation>Could not read the screen size from the X server.</translation>
    </message>
    <message>
        <source>X 서버가 화면 이미지를 보내지 않았습니다.</source>
        <translation>The X server did not send the screen image.</translation>
    </message>
    <message>
        <source>X 서버가 보낸 화면 이미지가 잘렸습니다.</source>
        <translation>The screen image sent by the X server was truncated.</translation>
    </message>
</context>
<context>
    <name>RecognitionError</name>
    <message>
        <source>텍스트를 인식하지 못했습니다.</source>
        <translation>The text could not be recognised.</translation>
    </message>
    <message>
        <source>그림을 읽을 수 있는 이미지로 만들지 못했습니다.</source>
        <translation>The picture could not be turned into an image to read.</translation>
    </message>
</context>
<context>
    <name>lumivex::StickerPickerView</name>
    <message>
        <source>우클릭으로 삭제</source>
        <translation>Right-click to delete</translation>
    </message>
    <message>
        <source>이미지 추가…</source>
        <translation>Add Image…</translation>
    </message>
    <message>
        <source>클립보드에서 추가</source>
        <translation>Add from Clipboard</translation>
    </message>
    <message>
        <source>최근</source>
        <translation>Recent</translation>
    </message>
    <message>
        <source>이모지</source>
        <translation>Emoji</translation>
    </message>
    <message>
        <source>내 스티커</source>
        <translation>My Stickers</translation>
    </message>
    <message>
        <source>아직 사용한 스티커가 없습니다.</source>
        <translation>No stickers used yet.</translation>
    </message>
    <message>
        <source>PNG(투명 배경 권장) 같은 이미지를 추가하면
여기에 보관되고 언제든 다시 쓸 수 있습니다.</source>
        <translation>Add images such as PNGs (a transparent background works best)
to keep them here and use them any time.</translation>
    </message>
    <message>
        <source>삭제</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>스티커로 쓸 이미지를 고르세요</source>
        <translation>Choose images to use as stickers</translation>
    </message>
    <message>
        <source>이미지 (*.png *.jpg *.jpeg *.gif *.bmp *.webp *.tiff)</source>
        <translation>Images (*.png *.jpg *.jpeg *.gif *.bmp *.webp *.tiff)</translation>
    </message>
</context>
<context>
    <name>lumivex::FaceCoverButton</name>
    <message>
        <source>얼굴 자동 감지 후 가리기</source>
        <translation>Find faces and cover them</translation>
    </message>
    <message>
        <source>얼굴을 채운 타원으로 가리기</source>
        <translation>Cover Faces with Filled Ellipses</translation>
    </message>
    <message>
        <source>얼굴 블러</source>
        <translation>Blur Faces</translation>
    </message>
    <message>
        <source>얼굴 모자이크</source>
        <translation>Pixelate Faces</translation>
    </message>
    <message>
        <source>랜덤 스티커로 가리기</source>
        <translation>Cover with Random Stickers</translation>
    </message>
    <message>
        <source>스티커로 가리기…</source>
        <translation>Cover with a Sticker…</translation>
    </message>
    <message>
        <source>사용법 보기…</source>
        <translation>How It Works…</translation>
    </message>
    <message>
        <source>사진 속 얼굴을 한 번에 가려 보세요. 눌러서 사용법 보기</source>
        <translation>Cover every face in the picture at once. Click to see how</translation>
    </message>
</context>
<context>
    <name>lumivex::FaceCoverGuide</name>
    <message>
        <source>다시 보지 않기</source>
        <translation>Don’t Show Again</translation>
    </message>
    <message>
        <source>닫기</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>얼굴 자동 가리기 사용법</source>
        <translation>Covering faces automatically</translation>
    </message>
    <message>
        <source>툴바에서 얼굴 가리기 버튼(점선 웃는 얼굴)을 누릅니다.</source>
        <translation>Click the face-cover button (the dashed smiling face) in the toolbar.</translation>
    </message>
    <message>
        <source>가리는 방법을 고릅니다: 채운 타원, 블러, 모자이크, 랜덤 스티커, 내가 고른 스티커.</source>
        <translation>Choose how to cover: filled ellipse, blur, pixelation, random stickers or a sticker of your choice.</translation>
    </message>
    <message>
        <source>사진 속 얼굴을 자동으로 찾아 한 번에 가립니다. 마음에 안 들면 Ctrl+Z로 한 번에 되돌릴 수 있습니다.</source>
        <translation>Every face in the picture is found and covered in one step. Don’t like it? Ctrl+Z undoes it in one step.</translation>
    </message>
    <message>
        <source>스티커는 선택해서 옮기거나 크기를 바꿀 수 있습니다. 놓친 얼굴은 도형·블러 도구로 직접 가려 주세요.</source>
        <translation>Stickers can be selected, moved and resized. Cover any missed faces yourself with the shape or blur tools.</translation>
    </message>
</context>
<context>
    <name>lumivex::TextHistoryView</name>
    <message>
        <source>복사한 텍스트가 아직 없습니다. 텍스트 추출로 글자를 복사하면 여기에 쌓입니다.</source>
        <translation>No copied text yet. Text you copy with text extraction collects here.</translation>
    </message>
    <message>
        <source>삭제</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>복사</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>모두 지우기</source>
        <translation>Clear All</translation>
    </message>
    <message>
        <source>고친 내용은 클립보드와 기록에만 반영되고 이미지는 바뀌지 않습니다.</source>
        <translation>Your edits go to the clipboard and the history only; the picture does not change.</translation>
    </message>
    <message>
        <source>%1자</source>
        <translation>%1 characters</translation>
    </message>
</context>
</TS>
