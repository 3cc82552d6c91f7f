#include "TestImages.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>

#include <random>

namespace lumivex::test {

QImage screenshotLikeImage(int width, int height, unsigned seed)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(246, 246, 248));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // Window chrome and flat panels.
    p.fillRect(QRectF(0, 0, width, height * 0.04), QColor(40, 44, 52));
    p.fillRect(QRectF(0, height * 0.04, width * 0.18, height), QColor(228, 230, 236));
    p.fillRect(QRectF(width * 0.2, height * 0.1, width * 0.35, height * 0.25), QColor(79, 70, 229));

    // A gradient banner.
    QLinearGradient gradient(QPointF(width * 0.6, 0), QPointF(width, height * 0.4));
    gradient.setColorAt(0, QColor(255, 120, 80));
    gradient.setColorAt(1, QColor(60, 160, 255));
    p.fillRect(QRectF(width * 0.6, height * 0.08, width * 0.38, height * 0.3), gradient);

    // Lines of text.
    QFont font;
    font.setPixelSize(std::max(10, height / 80));
    p.setFont(font);
    p.setPen(QColor(30, 30, 30));
    for (int line = 0; line < 30; ++line) {
        const double y = height * 0.42 + line * font.pixelSize() * 1.5;
        if (y > height * 0.95)
            break;
        p.drawText(QPointF(width * 0.2, y), QStringLiteral("Lumivex 스크린샷 line %1 — The quick brown fox jumps 0123456789").arg(line));
    }
    p.end();

    // A photo-like area: smooth shading plus noise.
    std::mt19937 rng(seed);
    std::normal_distribution<double> noise(0.0, 8.0);
    const int x0 = int(width * 0.62), y0 = int(height * 0.45);
    const int x1 = int(width * 0.97), y1 = int(height * 0.92);
    for (int y = y0; y < y1; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = x0; x < x1; ++x) {
            const double u = double(x - x0) / (x1 - x0), v = double(y - y0) / (y1 - y0);
            auto channel = [&](double base) { return std::clamp(int(base + noise(rng)), 0, 255); };
            row[x] = qRgb(channel(90 + 120 * u), channel(140 + 60 * v), channel(70 + 100 * u * v));
        }
    }
    return image;
}

} // namespace lumivex::test
