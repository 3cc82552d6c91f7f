#include "ScreenTextPictures.h"

#include <QFont>
#include <QPainter>
#include <QRegularExpression>

#include <algorithm>
#include <vector>

namespace lumivex::test::ScreenTextPictures {

namespace {

// Texts as interfaces show them: menu items, messages, labels, numbers and mixed Korean and English.
const char* const texts[] = {
    "파일을 저장하지 못했습니다",
    "Save changes before closing?",
    "설정에서 단축키를 바꿀 수 있습니다",
    "Check for updates",
    "새 폴더 만들기",
    "Recently opened files",
    "다운로드가 완료되었습니다",
    "Sign in with your account",
    "개인정보 처리방침",
    "Version 2.4.1 (build 1187)",
    "휴지통 비우기",
    "Notifications are turned off",
    "보낸 사람: 김민지",
    "Copy link address",
    "화면 캡처를 시작합니다",
    "Export as PNG or JPEG",
    "최근 사용한 항목 12개",
    "Open in new window",
    "알림을 받으려면 로그인하세요",
    "Select all items",
    "Wi-Fi 네트워크에 연결됨",
    "Battery 87% remaining",
    "계정 정보 수정",
    "Keyboard shortcuts",
};
constexpr int textCount = int(std::size(texts));
constexpr int sizes[] = {11, 12, 13, 14};

struct Theme {
    QColor background;
    QColor text;
    QColor secondary;
};

Theme theme(bool dark)
{
    return dark ? Theme{QColor(30, 30, 32), QColor(236, 236, 240), QColor(160, 160, 168)}
                : Theme{QColor(255, 255, 255), QColor(29, 29, 31), QColor(110, 110, 115)};
}

// Draws the lines down a pane; every third line in the theme's secondary colour, as labels are.
ScreenTextPicture drawLines(QPainter& p, const QRect& pane, bool dark, int scale, int first, int count)
{
    const Theme colours = theme(dark);
    p.fillRect(pane, colours.background);
    ScreenTextPicture drawn;
    int y = pane.top() + 12 * scale;
    for (int i = 0; i < count; ++i) {
        const QString text = QString::fromUtf8(texts[(first + i) % textCount]);
        QFont font(QStringLiteral("Noto Sans CJK KR"));
        font.setPixelSize(sizes[i % int(std::size(sizes))] * scale);
        font.setHintingPreference(QFont::PreferNoHinting);
        p.setFont(font);
        p.setPen(i % 3 == 2 ? colours.secondary : colours.text);
        const int lineHeight = int(font.pixelSize() * 2.1);
        QRect bounds;
        p.drawText(QRect(pane.left() + 16 * scale, y, pane.width() - 32 * scale, lineHeight), Qt::AlignVCenter, text, &bounds);
        drawn.lines << text;
        drawn.rects.push_back(bounds);
        drawn.pixelSizes.push_back(font.pixelSize());
        y += lineHeight;
    }
    return drawn;
}

QString normalised(const QString& text)
{
    static const QRegularExpression spaces(QStringLiteral("[ \\t]+"));
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines)
        line = line.replace(spaces, QStringLiteral(" ")).trimmed();
    lines.removeAll(QString());
    return lines.join(QLatin1Char('\n'));
}

} // namespace

ScreenTextPicture panel(bool dark, int scale, int first, int count)
{
    QImage image(520 * scale, (24 + count * 30) * scale, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing);
    ScreenTextPicture picture = drawLines(p, image.rect(), dark, scale, first, count);
    p.end();
    picture.name = QStringLiteral("%1@%2x").arg(dark ? QStringLiteral("dark") : QStringLiteral("light")).arg(scale);
    picture.image = image;
    return picture;
}

std::vector<ScreenTextPicture> all()
{
    std::vector<ScreenTextPicture> pictures;
    int first = 0;
    for (int scale : {1, 2}) {
        for (bool dark : {false, true}) {
            pictures.push_back(panel(dark, scale, first, 12));
            first += 12;
        }
    }
    // Side by side, a light and a dark pane: the inversion has to follow each pane.
    QImage image(1040, 384, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing);
    const ScreenTextPicture left = drawLines(p, QRect(0, 0, 520, 384), false, 1, 3, 6);
    const ScreenTextPicture right = drawLines(p, QRect(520, 0, 520, 384), true, 1, 15, 6);
    p.end();
    ScreenTextPicture both{QStringLiteral("light+dark"), image, {}, {}, {}};
    for (int i = 0; i < left.lines.size(); ++i) {
        both.lines << left.lines[i] << right.lines[i];
        both.rects.push_back(left.rects[i]);
        both.rects.push_back(right.rects[i]);
        both.pixelSizes.push_back(left.pixelSizes[i]);
        both.pixelSizes.push_back(right.pixelSizes[i]);
    }
    pictures.push_back(both);
    return pictures;
}

int editDistance(const QString& a, const QString& b)
{
    std::vector<int> previous(b.size() + 1), current(b.size() + 1);
    for (int j = 0; j <= b.size(); ++j)
        previous[j] = j;
    for (int i = 1; i <= a.size(); ++i) {
        current[0] = i;
        for (int j = 1; j <= b.size(); ++j) {
            const int substitution = previous[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, substitution});
        }
        std::swap(previous, current);
    }
    return previous[b.size()];
}

ErrorCount characterErrors(const QStringList& expected, const QString& read)
{
    const QString reference = normalised(expected.join(QLatin1Char('\n')));
    return {editDistance(reference, normalised(read)), int(reference.size())};
}

} // namespace lumivex::test::ScreenTextPictures
