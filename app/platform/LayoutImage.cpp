#include "app/platform/LayoutImage.h"

#include "core/render/LargeAllocation.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <algorithm>
#include <cmath>
#include <vector>

namespace lumivex::LayoutImage {

namespace {

// Which source pixels along one axis make up each target pixel, and how much of each.
struct Span {
    int first = 0;
    std::vector<float> weights;
};

std::vector<Span> spans(double start, double length, int targetCount, int sourceCount)
{
    std::vector<Span> result(size_t(std::max(targetCount, 0)));
    const double step = targetCount > 0 ? length / targetCount : 0;
    for (int t = 0; t < targetCount; ++t) {
        const double from = start + t * step;
        const double to = from + step;
        Span& span = result[size_t(t)];
        span.first = std::max(0, int(std::floor(from)));
        const int last = std::min(sourceCount, int(std::ceil(to)));
        for (int s = span.first; s < last; ++s)
            span.weights.push_back(float(std::min(to, s + 1.0) - std::max(from, double(s))));
    }
    return result;
}

struct Sums {
    float r = 0, g = 0, b = 0, weight = 0;

    void add(QRgb p, float w)
    {
        r += w * float(qRed(p));
        g += w * float(qGreen(p));
        b += w * float(qBlue(p));
        weight += w;
    }
    QRgb color() const
    {
        if (!(weight > 0))
            return qRgb(0, 0, 0);
        return qRgb(int(std::lround(r / weight)), int(std::lround(g / weight)), int(std::lround(b / weight)));
    }
};

QRect layoutBounds(const QList<OutputGeometry>& outputs)
{
    QRect bounds;
    for (const OutputGeometry& output : outputs)
        bounds = bounds.united(output.geometry);
    return bounds;
}

} // namespace

QList<OutputGeometry> currentOutputs()
{
    QList<OutputGeometry> outputs;
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return outputs;
    for (QScreen* screen : QGuiApplication::screens())
        outputs.append({screen, screen->name(), screen->geometry(), screen->devicePixelRatio()});
    return outputs;
}

std::optional<double> scaleOf(const QSize& picture, const QList<OutputGeometry>& outputs)
{
    const QRect bounds = layoutBounds(outputs);
    if (bounds.isEmpty() || picture.isEmpty())
        return std::nullopt;
    const double scale = double(picture.width()) / bounds.width();
    // Each side is the layout's side times the scale, rounded by the desktop.
    if (std::abs(bounds.height() * scale - picture.height()) > std::max(1.0, scale))
        return std::nullopt;
    return scale;
}

namespace {

// One picture pixel per shot pixel: the colour as it is (a partly transparent pixel keeps its stored colour, as
// the weighted sum of one pixel would), nothing at all becomes black.
void copyOpaque(const QImage& source, QPoint from, QImage& result)
{
    for (int y = 0; y < result.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(from.y() + y)) + from.x();
        auto* out = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x)
            out[x] = qAlpha(in[x]) == 0 ? qRgb(0, 0, 0) : (in[x] | 0xff000000u);
    }
}

// The common case, where the desktop's density is a whole multiple of the output's and the output starts on a
// whole pixel: every shot pixel is a square of whole picture pixels, summed in integers.
std::optional<QImage> shrinkByWholeFactor(const QImage& source, const QRectF& part, const QSize& size)
{
    const double factor = size.width() > 0 ? part.width() / size.width() : 0;
    const int k = int(std::lround(factor));
    const QRect whole(int(std::lround(part.x())), int(std::lround(part.y())), size.width() * k, size.height() * k);
    if (k < 1 || std::abs(factor - k) > 1e-9 || std::abs(part.height() - size.height() * k) > 1e-9
        || QRectF(whole) != part || !source.rect().contains(whole))
        return std::nullopt;
    QImage result = LargeAllocation::image(size, QImage::Format_RGB32);
    if (result.isNull())
        return result;
    if (k == 1) {
        copyOpaque(source, whole.topLeft(), result);
        return result;
    }
    std::vector<const QRgb*> lines(static_cast<size_t>(k), nullptr);
    for (int y = 0; y < size.height(); ++y) {
        auto* out = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int j = 0; j < k; ++j)
            lines[size_t(j)] = reinterpret_cast<const QRgb*>(source.constScanLine(whole.y() + y * k + j)) + whole.x();
        for (int x = 0; x < size.width(); ++x) {
            // As in shrink(): opaque pixels decide; partly transparent ones only where there is no opaque one.
            quint64 r = 0, g = 0, b = 0, n = 0, rt = 0, gt = 0, bt = 0, wt = 0;
            for (int j = 0; j < k; ++j) {
                const QRgb* line = lines[size_t(j)] + x * k;
                for (int i = 0; i < k; ++i) {
                    const QRgb p = line[i];
                    const quint64 a = quint64(qAlpha(p));
                    if (a == 255) {
                        r += quint64(qRed(p));
                        g += quint64(qGreen(p));
                        b += quint64(qBlue(p));
                        ++n;
                    } else {
                        rt += a * quint64(qRed(p));
                        gt += a * quint64(qGreen(p));
                        bt += a * quint64(qBlue(p));
                        wt += a;
                    }
                }
            }
            if (n > 0)
                out[x] = qRgb(int((r + n / 2) / n), int((g + n / 2) / n), int((b + n / 2) / n));
            else if (wt > 0)
                out[x] = qRgb(int((rt + wt / 2) / wt), int((gt + wt / 2) / wt), int((bt + wt / 2) / wt));
            else
                out[x] = qRgb(0, 0, 0);
        }
    }
    return result;
}

} // namespace

QImage shrink(const QImage& source, const QRectF& part, const QSize& size)
{
    if (std::optional<QImage> fast = shrinkByWholeFactor(source, part, size))
        return *fast;
    QImage result = LargeAllocation::image(size, QImage::Format_RGB32);
    if (result.isNull())
        return result;
    const std::vector<Span> columns = spans(part.x(), part.width(), size.width(), source.width());
    const std::vector<Span> rows = spans(part.y(), part.height(), size.height(), source.height());
    for (int y = 0; y < size.height(); ++y) {
        const Span& row = rows[size_t(y)];
        auto* out = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const Span& column = columns[size_t(x)];
            // Partly transparent pixels lie only along a layout edge, where the desktop sampled past the output
            // into nothing; their stored colour has lost precision to the transparency. They count only where
            // no opaque pixel covers the spot, and then weighted by their opacity.
            Sums opaque, translucent;
            for (size_t j = 0; j < row.weights.size(); ++j) {
                const auto* line = reinterpret_cast<const QRgb*>(source.constScanLine(row.first + int(j)));
                for (size_t i = 0; i < column.weights.size(); ++i) {
                    const QRgb p = line[column.first + int(i)];
                    const float w = row.weights[j] * column.weights[i];
                    if (qAlpha(p) == 255)
                        opaque.add(p, w);
                    else
                        translucent.add(p, w * float(qAlpha(p)) / 255);
                }
            }
            out[x] = (opaque.weight > 0 ? opaque : translucent).color();
        }
    }
    return result;
}

DisplayCapture split(const QImage& picture, const QList<OutputGeometry>& outputs)
{
    if (outputs.isEmpty())
        return CaptureError::noDisplay();
    const std::optional<double> scale = scaleOf(picture.size(), outputs);
    if (!scale)
        return CaptureError::failed(QCoreApplication::translate(
            "LayoutImage", "데스크톱이 돌려준 %1 × %2 그림이 화면 배치와 맞지 않습니다.")
                                        .arg(picture.width())
                                        .arg(picture.height()));
    const QImage source = picture.convertToFormat(QImage::Format_ARGB32);
    const QPoint origin = layoutBounds(outputs).topLeft();
    QList<DisplayShot> shots;
    for (const OutputGeometry& output : outputs) {
        const QRect& g = output.geometry;
        const double own = std::min(output.scale > 0 ? output.scale : 1.0, *scale);
        const QSize size(int(std::lround(g.width() * own)), int(std::lround(g.height() * own)));
        const QRectF part((g.x() - origin.x()) * *scale, (g.y() - origin.y()) * *scale, g.width() * *scale,
                          g.height() * *scale);
        QImage image = shrink(source, part, size);
        if (image.isNull())
            return CaptureError::failed(QCoreApplication::translate("LayoutImage", "%1의 그림을 만들 메모리가 없습니다.")
                                            .arg(output.name));
        shots.append({output.screen, output.name, std::move(image), Rect(g.x(), g.y(), g.width(), g.height())});
    }
    return shots;
}

} // namespace lumivex::LayoutImage
