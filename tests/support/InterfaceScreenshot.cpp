#include "InterfaceScreenshot.h"

#include "core/model/StickerSource.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace lumivex::test {

namespace {

constexpr QSize screen(1920, 1080);
const QRect chatPane(440, 110, 1430, 840); // where posted photos go
// Posted photos are shown at most this long on their longer side, as chats do.
constexpr double longestPhotoSide = 480;

QFont font(int pixelSize, bool bold = false)
{
    QFont f(QStringLiteral("Noto Sans CJK KR"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

void window(QPainter& p, const QRect& frame, const QString& title)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 60));
    p.drawRoundedRect(frame.translated(0, 6), 10, 10);
    p.setBrush(QColor(250, 250, 252));
    p.drawRoundedRect(frame, 10, 10);
    p.setBrush(QColor(232, 233, 238));
    p.drawRect(frame.x(), frame.y() + 10, frame.width(), 34);
    p.drawRoundedRect(QRect(frame.x(), frame.y(), frame.width(), 30), 10, 10);
    const QColor lights[] = {QColor(255, 95, 87), QColor(254, 188, 46), QColor(40, 200, 64)};
    for (int i = 0; i < 3; ++i) {
        p.setBrush(lights[i]);
        p.drawEllipse(QPoint(frame.right() - 80 + i * 24, frame.y() + 22), 7, 7);
    }
    p.setPen(QColor(40, 40, 45));
    p.setFont(font(15, true));
    p.drawText(QRect(frame.x(), frame.y(), frame.width(), 44), Qt::AlignCenter, title);
}

void fileIcon(QPainter& p, const QRect& cell, const QColor& colour, const QString& label)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRoundedRect(QRect(cell.x() + 22, cell.y() + 8, 56, 44), 6, 6);
    p.setBrush(colour.lighter(130));
    p.drawRoundedRect(QRect(cell.x() + 22, cell.y() + 2, 26, 12), 4, 4);
    p.setPen(QColor(50, 50, 55));
    p.setFont(font(13));
    p.drawText(QRect(cell.x(), cell.y() + 56, cell.width(), 20), Qt::AlignHCenter, label);
}

void fileManager(QPainter& p)
{
    const QRect frame(30, 80, 370, 940);
    window(p, frame, QStringLiteral("문서 — Files"));
    p.setFont(font(15));
    const char* places[] = {"최근 항목", "홈", "문서", "다운로드", "사진", "음악", "동영상", "휴지통"};
    for (int i = 0; i < 8; ++i) {
        p.setPen(Qt::NoPen);
        p.setBrush(i == 2 ? QColor(53, 132, 228) : QColor(0, 0, 0, 0));
        p.drawRoundedRect(QRect(40, 140 + i * 36, 130, 30), 6, 6);
        p.setBrush(i == 2 ? QColor(255, 255, 255) : QColor(120, 120, 130));
        p.drawRoundedRect(QRect(50, 148 + i * 36, 16, 14), 3, 3);
        p.setPen(i == 2 ? Qt::white : QColor(40, 40, 45));
        p.drawText(QRect(74, 140 + i * 36, 100, 30), Qt::AlignVCenter, QString::fromUtf8(places[i]));
    }
    const QColor colours[] = {QColor(98, 160, 234), QColor(246, 211, 45), QColor(87, 227, 137), QColor(237, 51, 59)};
    const char* names[] = {"보고서.pdf", "budget.ods", "notes.txt", "slides.odp", "스크린샷.png", "README.md"};
    for (int i = 0; i < 12; ++i)
        fileIcon(p, QRect(180 + (i % 2) * 105, 140 + (i / 2) * 110, 100, 100), colours[i % 4],
                 QString::fromUtf8(names[i % 6]));
    p.setPen(QColor(90, 90, 100));
    p.setFont(font(13));
    p.drawText(QRect(180, 820, 210, 190), Qt::TextWordWrap,
               QStringLiteral("18개 항목, 여유 공간 212.4 GB\nLast modified 2024-05-01 14:32\n"
                              "The quick brown fox jumps over the lazy dog. 다람쥐 헌 쳇바퀴에 타고파."));
}

void bubble(QPainter& p, const QRect& rect, bool mine, const QString& text)
{
    p.setPen(Qt::NoPen);
    p.setBrush(mine ? QColor(53, 132, 228) : QColor(235, 236, 240));
    p.drawRoundedRect(rect, 14, 14);
    p.setPen(mine ? Qt::white : QColor(30, 30, 35));
    p.setFont(font(17));
    p.drawText(rect.adjusted(14, 8, -14, -8), Qt::AlignVCenter | Qt::TextWordWrap, text);
}

void emoji(QPainter& p, const QString& text, QPointF topLeft, double height)
{
    const double scale = height / StickerSource::emojiSize(text).height();
    p.save();
    p.translate(topLeft);
    p.scale(scale, scale);
    StickerSource::drawEmoji(p, text, QPointF(0, 0));
    p.restore();
}

void chatWindow(QPainter& p, bool withMessages)
{
    const QRect frame(420, 60, 1470, 960);
    window(p, frame, QStringLiteral("팀 채팅 — 여름 워크숍"));
    p.setPen(QColor(225, 225, 230));
    p.drawLine(420, 960, 1890, 960);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 240, 244));
    p.drawRoundedRect(QRect(440, 972, 1280, 36), 18, 18);
    p.setBrush(QColor(53, 132, 228));
    p.drawRoundedRect(QRect(1740, 972, 130, 36), 18, 18);
    p.setPen(Qt::white);
    p.setFont(font(16, true));
    p.drawText(QRect(1740, 972, 130, 36), Qt::AlignCenter, QStringLiteral("보내기"));
    p.setPen(QColor(150, 150, 160));
    p.setFont(font(16));
    p.drawText(QRect(460, 972, 600, 36), Qt::AlignVCenter, QStringLiteral("메시지를 입력하세요…"));
    if (!withMessages)
        return;
    bubble(p, QRect(460, 140, 520, 60), false, QStringLiteral("오늘 회의 자료 올렸어요. Please check the numbers in §3."));
    bubble(p, QRect(1300, 220, 560, 60), true, QStringLiteral("확인했습니다 👍 내일 10시에 다시 봐요"));
    bubble(p, QRect(460, 300, 640, 90), false,
           QStringLiteral("Build #4821 passed: 1,204 tests, 0 failures, coverage 87.3 %.\n배포는 금요일 오후 3시."));
    // Emoji as chats show them: a row of reactions and one jumbo emoji sent on its own.
    const char* reactions[] = {"😀", "🎉", "😂", "😍", "🙈"};
    for (int i = 0; i < 5; ++i)
        emoji(p, QString::fromUtf8(reactions[i]), QPointF(1320 + i * 56, 320), 44);
    emoji(p, QStringLiteral("😎"), QPointF(1740, 300), 110);
    bubble(p, QRect(1300, 420, 420, 60), true, QStringLiteral("점심은 김밥 어때요? 🍙"));
    bubble(p, QRect(460, 520, 1100, 120), false,
           QStringLiteral("회의록: 1) 일정 2) 예산 3) 인원. Action items — Jimin: slides, Alex: budget sheet, "
                          "Sora: venue. 다음 회의는 6월 3일 화요일입니다. 참석 여부를 알려 주세요."));
    for (int i = 0; i < 6; ++i) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60 + i * 30, 120, 200 - i * 20));
        p.drawEllipse(QRect(460 + i * 52, 680, 40, 40));
        p.setPen(Qt::white);
        p.setFont(font(18, true));
        p.drawText(QRect(460 + i * 52, 680, 40, 40), Qt::AlignCenter, QString(QChar('A' + i)));
    }
}

QImage desktop(bool withMessages)
{
    QImage image(screen, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient sky(0, 0, screen.width(), screen.height());
    sky.setColorAt(0, QColor(36, 52, 92));
    sky.setColorAt(1, QColor(92, 60, 120));
    p.fillRect(image.rect(), sky);
    p.fillRect(QRect(0, 0, screen.width(), 32), QColor(20, 20, 24));
    p.setPen(Qt::white);
    p.setFont(font(15, true));
    p.drawText(QRect(16, 0, 300, 32), Qt::AlignVCenter, QStringLiteral("활동   Files   Chat"));
    p.drawText(QRect(0, 0, screen.width(), 32), Qt::AlignCenter, QStringLiteral("5월 14일 화 10:42"));
    p.drawText(QRect(screen.width() - 220, 0, 200, 32), Qt::AlignVCenter | Qt::AlignRight, QStringLiteral("ko  🔊  🔋 87 %"));
    fileManager(p);
    chatWindow(p, withMessages);
    return image;
}

} // namespace

QImage InterfaceScreenshot::faceless()
{
    QImage image = desktop(true);
    // Photos without people, where the package that ships them is installed: fruit and a street.
    QPainter p(&image);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRect slots[] = {QRect(460, 740, 320, 200), QRect(800, 740, 320, 200)};
    const QString photos[] = {packagedFile(QStringLiteral("/usr/share/doc/opencv-doc/examples/data/fruits.jpg")),
                              packagedFile(QStringLiteral("/usr/share/doc/opencv-doc/examples/data/building.jpg"))};
    for (int i = 0; i < 2; ++i) {
        if (!photos[i].isEmpty())
            p.drawImage(slots[i], QImage(photos[i]));
    }
    return image;
}

InterfaceScreenshot::InterfaceScreenshot(const std::vector<LabelledPhoto>& photos, double smallestFace, double largestFace)
    : m_image(desktop(false))
{
    QPainter p(&m_image);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    // Photos go into the chat pane in rows, left to right, as a chat shows posted pictures.
    QPoint next = chatPane.topLeft();
    int rowHeight = 0;
    for (size_t i = 0; i < photos.size(); ++i) {
        const LabelledPhoto& photo = photos[i];
        if (photo.faces.empty() || photo.image.isNull())
            continue;
        double smallest = photo.faces.front().width;
        double largest = smallest;
        for (const Rect& face : photo.faces) {
            smallest = std::min(smallest, face.width);
            largest = std::max(largest, face.width);
        }
        // Step through the allowed range: the first photo's smallest face at the low end, the next ones higher.
        const double low = smallestFace / smallest;
        const double high = largestFace / largest;
        const double step = photos.size() > 1 ? double(i % 3) / 2 : 0.5;
        const double scale = std::max(low, std::min(low + (high - low) * step,
                                                    longestPhotoSide / std::max(photo.image.width(), photo.image.height())));
        const QSize size = (QSizeF(photo.image.size()) * scale).toSize();
        if (next.x() + size.width() > chatPane.right()) {
            next = QPoint(chatPane.left(), next.y() + rowHeight + 16);
            rowHeight = 0;
        }
        if (next.y() + size.height() > chatPane.bottom() || size.width() > chatPane.width())
            continue;
        const QRect placed(next, size);
        p.drawImage(placed, photo.image);
        for (const Rect& face : photo.faces) {
            m_faces.push_back(Rect(placed.x() + face.x * size.width() / photo.image.width(),
                                   placed.y() + face.y * size.height() / photo.image.height(),
                                   face.width * size.width() / photo.image.width(),
                                   face.height * size.height() / photo.image.height()));
        }
        next.rx() += size.width() + 16;
        rowHeight = std::max(rowHeight, size.height());
    }
}

} // namespace lumivex::test
