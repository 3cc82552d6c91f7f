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
    <message>
        <source>이 데스크톱은 창 선택을 제공하지 않습니다   ·   Space: 영역 선택   ·   Return: 전체 화면   ·   Esc: 취소</source>
        <translation>This desktop offers no window picking   ·   Space: select area   ·   Return: full screen   ·   Esc: cancel</translation>
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
    <name>lumivex::CaptureFlow</name>
    <message>
        <source>다른 캡처가 진행 중입니다</source>
        <translation>Another capture is in progress</translation>
    </message>
    <message>
        <source>캡처가 취소되었습니다</source>
        <translation>The capture was cancelled</translation>
    </message>
    <message>
        <source>캡처하지 못했습니다</source>
        <translation>Could not capture</translation>
    </message>
</context>
<context>
    <name>lumivex::LoginItem</name>
    <message>
        <source>자동 실행 항목을 지우지 못했습니다: %1</source>
        <translation>Could not remove the autostart entry: %1</translation>
    </message>
    <message>
        <source>자동 실행 폴더를 만들지 못했습니다: %1</source>
        <translation>Could not create the autostart folder: %1</translation>
    </message>
    <message>
        <source>자동 실행 항목을 쓰지 못했습니다: %1</source>
        <translation>Could not write the autostart entry: %1</translation>
    </message>
</context>
<context>
    <name>lumivex::StatusMenu</name>
    <message>
        <source>파일 열기…</source>
        <translation>Open File…</translation>
    </message>
    <message>
        <source>설정…</source>
        <translation>Settings…</translation>
    </message>
    <message>
        <source>시작 창 보기</source>
        <translation>Show Start Window</translation>
    </message>
    <message>
        <source>Lumivex 종료</source>
        <translation>Quit Lumivex</translation>
    </message>
</context>
<context>
    <name>lumivex::MainMenu</name>
    <message>
        <source>Lumivex 정보</source>
        <translation>About Lumivex</translation>
    </message>
    <message>
        <source>Lumivex %1
화면을 캡처하고 그림에 주석을 다는 도구</source>
        <translation>Lumivex %1
Capture the screen and annotate the picture</translation>
    </message>
    <message>
        <source>설정…</source>
        <translation>Settings…</translation>
    </message>
    <message>
        <source>Lumivex 백그라운드로 보내기</source>
        <translation>Send Lumivex to the Background</translation>
    </message>
    <message>
        <source>파일</source>
        <translation>File</translation>
    </message>
    <message>
        <source>영역 캡처</source>
        <translation>Capture Area</translation>
    </message>
    <message>
        <source>창 캡처</source>
        <translation>Capture Window</translation>
    </message>
    <message>
        <source>전체 화면 캡처</source>
        <translation>Capture Full Screen</translation>
    </message>
    <message>
        <source>클립보드에서 열기</source>
        <translation>Open from Clipboard</translation>
    </message>
    <message>
        <source>파일 열기…</source>
        <translation>Open File…</translation>
    </message>
    <message>
        <source>저장…</source>
        <translation>Save…</translation>
    </message>
    <message>
        <source>클립보드로 복사</source>
        <translation>Copy to Clipboard</translation>
    </message>
    <message>
        <source>이미지 속 글자 복사</source>
        <translation>Copy Text in Image</translation>
    </message>
    <message>
        <source>창 닫기</source>
        <translation>Close Window</translation>
    </message>
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
        <source>잘라내기</source>
        <translation>Cut</translation>
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
        <source>전체 선택</source>
        <translation>Select All</translation>
    </message>
    <message>
        <source>윈도우</source>
        <translation>Window</translation>
    </message>
    <message>
        <source>최소화</source>
        <translation>Minimize</translation>
    </message>
    <message>
        <source>확대/축소</source>
        <translation>Zoom</translation>
    </message>
</context>
<context>
    <name>lumivex::Application</name>
    <message>
        <source>클립보드에 이미지가 없습니다</source>
        <translation>There is no image on the clipboard</translation>
    </message>
    <message>
        <source>스크린샷을 클립보드로 복사한 뒤 다시 시도하세요.</source>
        <translation>Copy a screenshot to the clipboard, then try again.</translation>
    </message>
    <message>
        <source>파일 열기…</source>
        <translation>Open File…</translation>
    </message>
    <message>
        <source>이미지 (%1)</source>
        <translation>Images (%1)</translation>
    </message>
    <message>
        <source>모든 파일 (*)</source>
        <translation>All Files (*)</translation>
    </message>
</context>
<context>
    <name>lumivex::WelcomeView</name>
    <message>
        <source>무엇을 캡처할까요?</source>
        <translation>What would you like to capture?</translation>
    </message>
    <message>
        <source>화면을 캡처하거나, 이미지를 끌어다 놓아 편집을 시작하세요</source>
        <translation>Capture the screen, or drop an image here to start editing</translation>
    </message>
    <message>
        <source>영역 캡처</source>
        <translation>Capture Area</translation>
    </message>
    <message>
        <source>드래그해서 원하는 부분만</source>
        <translation>Drag to take just the part you want</translation>
    </message>
    <message>
        <source>전체 화면</source>
        <translation>Full Screen</translation>
    </message>
    <message>
        <source>현재 디스플레이 전체</source>
        <translation>The whole current display</translation>
    </message>
    <message>
        <source>클립보드에서 열기</source>
        <translation>Open from Clipboard</translation>
    </message>
    <message>
        <source>파일 열기…</source>
        <translation>Open File…</translation>
    </message>
</context>
<context>
    <name>lumivex::ShortcutRecorderRow</name>
    <message>
        <source>단축키 지우기</source>
        <translation>Clear Shortcut</translation>
    </message>
    <message>
        <source>등록하지 못했습니다. 다른 앱이 쓰고 있거나 다른 항목과 겹칩니다.</source>
        <translation>Could not register. Another app uses it, or it repeats another shortcut.</translation>
    </message>
    <message>
        <source>키를 누르세요…</source>
        <translation>Press keys…</translation>
    </message>
    <message>
        <source>지정 안 함</source>
        <translation>None</translation>
    </message>
</context>
<context>
    <name>lumivex::SettingsView</name>
    <message>
        <source>영역 캡처 중에는:</source>
        <translation>While capturing an area:</translation>
    </message>
    <message>
        <source>창 선택</source>
        <translation>Select window</translation>
    </message>
    <message>
        <source>전체 화면</source>
        <translation>Full screen</translation>
    </message>
    <message>
        <source>취소</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>단축키</source>
        <translation>Shortcuts</translation>
    </message>
    <message>
        <source>캡처 직후 원본을 클립보드에 복사</source>
        <translation>Copy the original to the clipboard right after capturing</translation>
    </message>
    <message>
        <source>편집기에서 복사할 때 폴더에 PNG로 자동 저장</source>
        <translation>Also save a PNG to a folder when copying in the editor</translation>
    </message>
    <message>
        <source>폴더 선택…</source>
        <translation>Choose Folder…</translation>
    </message>
    <message>
        <source>복사한 뒤 편집 창 닫기</source>
        <translation>Close the editor after copying</translation>
    </message>
    <message>
        <source>캡처 후</source>
        <translation>After Capture</translation>
    </message>
    <message>
        <source>로그인할 때 자동 실행</source>
        <translation>Start at login</translation>
    </message>
    <message>
        <source>시작</source>
        <translation>Startup</translation>
    </message>
    <message>
        <source>화면 모양</source>
        <translation>Appearance</translation>
    </message>
    <message>
        <source>테마</source>
        <translation>Theme</translation>
    </message>
    <message>
        <source>시스템 언어</source>
        <translation>System Language</translation>
    </message>
    <message>
        <source>언어</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>표시 언어</source>
        <translation>Display language</translation>
    </message>
    <message>
        <source>화면 기록 권한</source>
        <translation>Screen recording permission</translation>
    </message>
    <message>
        <source>시스템 설정 열기</source>
        <translation>Open System Settings</translation>
    </message>
    <message>
        <source>권한</source>
        <translation>Permissions</translation>
    </message>
    <message>
        <source>선택</source>
        <translation>Choose</translation>
    </message>
    <message>
        <source>언어를 바꾸려면 다시 시작해야 합니다</source>
        <translation>Lumivex needs to restart to change the language</translation>
    </message>
    <message>
        <source>Lumivex를 지금 다시 시작할까요?</source>
        <translation>Restart Lumivex now?</translation>
    </message>
    <message>
        <source>다시 시작</source>
        <translation>Restart</translation>
    </message>
    <message>
        <source>나중에</source>
        <translation>Later</translation>
    </message>
    <message>
        <source>허용됨</source>
        <translation>Allowed</translation>
    </message>
    <message>
        <source>필요함</source>
        <translation>Required</translation>
    </message>
    <message>
        <source>저장 폴더 없음</source>
        <translation>No save folder</translation>
    </message>
</context>
<context>
    <name>lumivex::SettingsWindow</name>
    <message>
        <source>Lumivex 설정</source>
        <translation>Lumivex Settings</translation>
    </message>
</context>
<context>
    <name>AppearanceMode</name>
    <message>
        <source>라이트</source>
        <translation>Light</translation>
    </message>
    <message>
        <source>다크</source>
        <translation>Dark</translation>
    </message>
    <message>
        <source>시스템</source>
        <translation>System</translation>
    </message>
</context>
<context>
    <name>lumivex::CanvasRatioPicker</name>
    <message>
        <source>비율</source>
        <translation>Ratio</translation>
    </message>
    <message>
        <source>사용자 지정…</source>
        <translation>Custom…</translation>
    </message>
    <message>
        <source>비율을 맞추려고 늘어난 영역은 테두리 색으로 채워집니다.</source>
        <translation>The area added to reach the ratio is filled with the border colour.</translation>
    </message>
    <message>
        <source>App Store 심사용 iPhone 크기</source>
        <translation>iPhone sizes for App Store review</translation>
    </message>
    <message>
        <source>내보내기 크기: </source>
        <translation>Export size: </translation>
    </message>
    <message>
        <source>세로 방향</source>
        <translation>Portrait</translation>
    </message>
    <message>
        <source>가로 방향</source>
        <translation>Landscape</translation>
    </message>
</context>
<context>
    <name>CaptureDelivery</name>
    <message>
        <source>캡처한 이미지를 클립보드에 복사하지 못했습니다.</source>
        <translation>Could not copy the captured image to the clipboard.</translation>
    </message>
</context>
<context>
    <name>lumivex::CustomRatioPopover</name>
    <message>
        <source>가로</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>세로</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>적용</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>취소</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>사용자 지정 비율</source>
        <translation>Custom Ratio</translation>
    </message>
    <message>
        <source>1 ~ 100 사이의 숫자로 가로와 세로 비율을 입력하세요. 예: 16 : 9</source>
        <translation>Enter the width and height ratio as numbers from 1 to 100. For example: 16 : 9</translation>
    </message>
</context>
<context>
    <name>lumivex::DesignColorWell</name>
    <message>
        <source>색</source>
        <translation>Colour</translation>
    </message>
    <message>
        <source>색상</source>
        <translation>Colour</translation>
    </message>
</context>
<context>
    <name>DesktopKeybinding</name>
    <message>
        <source>데스크톱의 키보드 설정에서 사용자 지정 단축키(%1)를 추가하고 다음 명령을 지정하세요: %2</source>
        <translation>In the desktop's keyboard settings, add a custom shortcut (%1) that runs this command: %2</translation>
    </message>
    <message>
        <source>데스크톱의 키보드 설정에서 사용자 지정 단축키를 추가하고 다음 명령을 지정하세요: %1</source>
        <translation>In the desktop's keyboard settings, add a custom shortcut that runs this command: %1</translation>
    </message>
</context>
<context>
    <name>EmojiCatalog</name>
    <message>
        <source>표시</source>
        <translation>Marks</translation>
    </message>
    <message>
        <source>얼굴</source>
        <translation>Faces</translation>
    </message>
    <message>
        <source>손·사람</source>
        <translation>Hands &amp; People</translation>
    </message>
    <message>
        <source>하트·기호</source>
        <translation>Hearts &amp; Symbols</translation>
    </message>
    <message>
        <source>동물·음식</source>
        <translation>Animals &amp; Food</translation>
    </message>
    <message>
        <source>사물</source>
        <translation>Objects</translation>
    </message>
</context>
<context>
    <name>HotKeyAction</name>
    <message>
        <source>창 캡처</source>
        <translation>Capture Window</translation>
    </message>
    <message>
        <source>전체 화면 캡처</source>
        <translation>Capture Full Screen</translation>
    </message>
    <message>
        <source>클립보드 이미지 편집</source>
        <translation>Edit Clipboard Image</translation>
    </message>
    <message>
        <source>영역 캡처</source>
        <translation>Capture Area</translation>
    </message>
</context>
<context>
    <name>HotKeyLaunchWarning</name>
    <message>
        <source>다른 앱이 같은 단축키를 쓰고 있을 수 있습니다.</source>
        <translation>Another app may be using the same shortcut.</translation>
    </message>
    <message>
        <source>설정(Ctrl+,)에서 다른 단축키를 지정할 수도 있습니다.</source>
        <translation>You can also choose another shortcut in Settings (Ctrl+,).</translation>
    </message>
    <message>
        <source>단축키를 등록하지 못했습니다</source>
        <translation>Could not register shortcuts</translation>
    </message>
    <message>
        <source>설정 열기</source>
        <translation>Open Settings</translation>
    </message>
    <message>
        <source>닫기</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>lumivex::InspectorStyleSection</name>
    <message>
        <source>클릭으로 꼭짓점을 찍고, 시작점 클릭·더블클릭·Return으로 완성합니다. Delete: 마지막 점 취소, Esc: 그리기 취소.</source>
        <translation>Click to place corners; click the first point, double-click or press Return to finish. Delete: remove the last point, Esc: cancel drawing.</translation>
    </message>
    <message>
        <source>모서리 핸들: 크기 조절 · 위쪽 원: 회전 (⇧: 15° 단위)</source>
        <translation>Corner handles: resize · top circle: rotate (Shift: 15° steps)</translation>
    </message>
    <message>
        <source>사각형</source>
        <translation>Rectangle</translation>
    </message>
    <message>
        <source>원 / 타원</source>
        <translation>Circle / Ellipse</translation>
    </message>
    <message>
        <source>다각형</source>
        <translation>Polygon</translation>
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
        <source>스티커</source>
        <translation>Sticker</translation>
    </message>
    <message>
        <source>선 색</source>
        <translation>Line Colour</translation>
    </message>
    <message>
        <source>채우기</source>
        <translation>Fill</translation>
    </message>
    <message>
        <source>선 두께</source>
        <translation>Line Width</translation>
    </message>
    <message>
        <source>모서리 둥글기</source>
        <translation>Corner Radius</translation>
    </message>
    <message>
        <source>테두리 색</source>
        <translation>Border Colour</translation>
    </message>
    <message>
        <source>테두리 두께</source>
        <translation>Border Width</translation>
    </message>
    <message>
        <source>색</source>
        <translation>Colour</translation>
    </message>
    <message>
        <source>두께</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>글자 색</source>
        <translation>Text Colour</translation>
    </message>
    <message>
        <source>글자 크기</source>
        <translation>Text Size</translation>
    </message>
    <message>
        <source>굵게</source>
        <translation>Bold</translation>
    </message>
    <message>
        <source>배경</source>
        <translation>Background</translation>
    </message>
    <message>
        <source>가우시안</source>
        <translation>Gaussian</translation>
    </message>
    <message>
        <source>모자이크</source>
        <translation>Pixelate</translation>
    </message>
    <message>
        <source>강도</source>
        <translation>Strength</translation>
    </message>
    <message>
        <source>원본 이미지를 흐립니다. 위에 얹은 도형·스티커는 흐려지지 않습니다.</source>
        <translation>Blurs the original image. Shapes and stickers on top stay sharp.</translation>
    </message>
    <message>
        <source>외곽선</source>
        <translation>Outline</translation>
    </message>
    <message>
        <source>외곽선 두께</source>
        <translation>Outline Width</translation>
    </message>
    <message>
        <source>모양</source>
        <translation>Shape</translation>
    </message>
    <message>
        <source>직선</source>
        <translation>Straight</translation>
    </message>
    <message>
        <source>왼쪽 곡선</source>
        <translation>Curve Left</translation>
    </message>
    <message>
        <source>오른쪽 곡선</source>
        <translation>Curve Right</translation>
    </message>
    <message>
        <source>휘어짐</source>
        <translation>Bend</translation>
    </message>
    <message>
        <source>배경 상자 늘리기</source>
        <translation>Stretch Background Box</translation>
    </message>
    <message>
        <source>가로</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>세로</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>상자 가장자리 중앙의 사각 핸들을 끌어도 됩니다. 배경을 켜면 늘어난 모양이 보입니다.</source>
        <translation>You can also drag the square handles in the middle of the box's edges. Turn on the background to see the stretched shape.</translation>
    </message>
    <message>
        <source>불투명도</source>
        <translation>Opacity</translation>
    </message>
</context>
<context>
    <name>lumivex::InspectorView</name>
    <message>
        <source>도구를 고르거나 캔버스의 항목을 클릭하세요.</source>
        <translation>Choose a tool or click an item on the canvas.</translation>
    </message>
    <message>
        <source>자르기</source>
        <translation>Crop</translation>
    </message>
    <message>
        <source>핸들을 끌어 영역을 조절하거나, 영역 밖에서 새로 드래그하세요. 안쪽 드래그는 이동, 더블클릭·Return은 확정, Esc는 취소입니다.</source>
        <translation>Drag the handles to adjust the area, or drag anew outside it. Dragging inside moves it, double-click or Return applies, Esc cancels.</translation>
    </message>
    <message>
        <source>원본 크기로 되돌리기</source>
        <translation>Reset to Original Size</translation>
    </message>
    <message>
        <source>원본 픽셀은 그대로 남아 있어 나중에 다시 넓힐 수 있습니다.</source>
        <translation>The original pixels are kept, so you can widen it again later.</translation>
    </message>
    <message>
        <source>적용</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>취소</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>텍스트 추출</source>
        <translation>Extract Text</translation>
    </message>
    <message>
        <source>글자가 있는 곳을 드래그하면 그 안의 글자를 읽어 클립보드에 복사합니다.</source>
        <translation>Drag over text to read it and copy it to the clipboard.</translation>
    </message>
    <message>
        <source>이미지 속 글자 모두 복사</source>
        <translation>Copy All Text in Image</translation>
    </message>
    <message>
        <source>블러·가림으로 가린 글자는 복사되지 않습니다. 한국어·영어·일본어·중국어 등은 언어를 자동으로 알아봅니다.</source>
        <translation>Text hidden by blur or covers is not copied. Korean, English, Japanese, Chinese and more are recognised automatically.</translation>
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
        <source>삭제</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>캔버스</source>
        <translation>Canvas</translation>
    </message>
    <message>
        <source>테두리(여백)</source>
        <translation>Border (Padding)</translation>
    </message>
    <message>
        <source>두께</source>
        <translation>Width</translation>
    </message>
</context>
<context>
    <name>LayoutImage</name>
    <message>
        <source>데스크톱이 돌려준 %1 × %2 그림이 화면 배치와 맞지 않습니다.</source>
        <translation>The %1 × %2 picture the desktop returned does not match the screen layout.</translation>
    </message>
    <message>
        <source>%1의 그림을 만들 메모리가 없습니다.</source>
        <translation>There is not enough memory for the picture of %1.</translation>
    </message>
</context>
<context>
    <name>LoadError</name>
    <message>
        <source>이미지를 열지 못했습니다.</source>
        <translation>Could not open the image.</translation>
    </message>
    <message>
        <source>“%1”이(가) 없습니다.</source>
        <translation>“%1” does not exist.</translation>
    </message>
    <message>
        <source>“%1”은(는) 파일이 아닙니다.</source>
        <translation>“%1” is not a file.</translation>
    </message>
    <message>
        <source>“%1”을(를) 읽지 못했습니다: %2</source>
        <translation>Could not read “%1”: %2</translation>
    </message>
    <message>
        <source>“%1”은(는) 너무 커서 열 수 없습니다.</source>
        <translation>“%1” is too large to open.</translation>
    </message>
    <message>
        <source>“%1”은(는) 읽을 수 있는 이미지가 아니거나 손상되었습니다.</source>
        <translation>“%1” is not a readable image or is damaged.</translation>
    </message>
</context>
<context>
    <name>lumivex::PortalRequest</name>
    <message>
        <source>데스크톱 포털이 %1초 안에 응답하지 않았습니다.</source>
        <translation>The desktop portal did not answer within %1 seconds.</translation>
    </message>
    <message>
        <source>세션 D-Bus에 연결할 수 없습니다: %1</source>
        <translation>Cannot connect to the session D-Bus: %1</translation>
    </message>
    <message>
        <source>데스크톱 포털(%1)이 요청을 받지 않았습니다: %2 (%3)</source>
        <translation>The desktop portal (%1) did not accept the request: %2 (%3)</translation>
    </message>
</context>
<context>
    <name>lumivex::TextBanner</name>
    <message>
        <source>텍스트 복사</source>
        <translation>Copy Text</translation>
    </message>
    <message>
        <source>편집</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>닫기</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>글자 %1자를 찾았습니다</source>
        <translation>Found %1 characters of text</translation>
    </message>
    <message>
        <source>텍스트 %1자 복사됨</source>
        <translation>Copied %1 characters of text</translation>
    </message>
</context>
<context>
    <name>lumivex::ToolbarView</name>
    <message>
        <source>스티커 (이모지 / 내 이미지)</source>
        <translation>Stickers (emoji / my images)</translation>
    </message>
    <message>
        <source>이미지 속 글자를 모두 복사 (Ctrl+Shift+T)</source>
        <translation>Copy all text in the image (Ctrl+Shift+T)</translation>
    </message>
    <message>
        <source>복사한 텍스트 기록 · 편집</source>
        <translation>Copied text history · edit</translation>
    </message>
    <message>
        <source>클립보드로 복사 (Ctrl+C 또는 Ctrl+Shift+C)</source>
        <translation>Copy to clipboard (Ctrl+C or Ctrl+Shift+C)</translation>
    </message>
    <message>
        <source>파일로 저장 (Ctrl+S)</source>
        <translation>Save to file (Ctrl+S)</translation>
    </message>
    <message>
        <source>도구 유지 (켜짐): 하나 그린 뒤에도 같은 도구를 계속 사용. 끄면 하나 그리고 선택 도구로 돌아갑니다. Esc = 선택 도구</source>
        <translation>Keep tool (on): keep using the same tool after drawing one. When off, it returns to the selection tool after one. Esc = selection tool</translation>
    </message>
    <message>
        <source>도구 유지 (꺼짐): 하나 그린 뒤에도 같은 도구를 계속 사용. 끄면 하나 그리고 선택 도구로 돌아갑니다. Esc = 선택 도구</source>
        <translation>Keep tool (off): keep using the same tool after drawing one. When off, it returns to the selection tool after one. Esc = selection tool</translation>
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
    <name>RecognitionWorker</name>
    <message>
        <source>텍스트 인식 프로세스를 시작하지 못했습니다: %1</source>
        <translation>The text recognition process could not be started: %1</translation>
    </message>
    <message>
        <source>텍스트 인식 프로세스가 도중에 멈췄습니다.</source>
        <translation>The text recognition process stopped before it answered.</translation>
    </message>
    <message>
        <source>텍스트를 읽지 못했습니다: %1</source>
        <translation>The text could not be read: %1</translation>
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
