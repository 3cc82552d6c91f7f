// What the canvas paints: the document exactly as the renderer draws it, the editing aids on top, and the
// cached layers that keep a drag from redrawing the whole picture on every frame.
#include "CanvasFixture.h"

#include "app/editor/CanvasOverlay.h"
#include "app/editor/InlineTextEditor.h"
#include "core/model/RGBAColor.h"
#include "core/model/Tool.h"
#include "core/render/Renderer.h"

#include <QApplication>

namespace lumivex::test {
namespace {

class CanvasPainting : public CanvasFixture {
protected:
    // The canvas as painted, without child widgets (the inline editor).
    QImage paint()
    {
        QImage image(canvas().size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        canvas().render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground);
        return image;
    }
    // The card of a 1000 x 600 picture at one point per pixel.
    QImage card() { return paint().copy(28, 28, 1000, 600); }

    // Outside the `skipped` boxes.
    static int largestDifference(const QImage& a, const QImage& b, const std::vector<QRect>& skipped = {})
    {
        int largest = 0;
        for (int y = 0; y < a.height(); ++y) {
            for (int x = 0; x < a.width(); ++x) {
                if (std::any_of(skipped.begin(), skipped.end(), [&](const QRect& r) { return r.contains(x, y); }))
                    continue;
                const QRgb p = a.pixel(x, y);
                const QRgb q = b.pixel(x, y);
                const int d = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                        std::abs(qBlue(p) - qBlue(q))});
                largest = std::max(largest, d);
            }
        }
        return largest;
    }

    static int darkPixels(const QImage& image, const QRect& area)
    {
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                count += QColor(image.pixel(x, y)).lightness() < 80;
        return count;
    }

    void placeOneOfEachKind()
    {
        place(rectangleAt(Rect(60, 80, 200, 120)));
        Annotation blur(AnnotationKind::blur);
        blur.frame = Rect(300, 60, 220, 160);
        blur.blurAmount = 12;
        place(blur);
        place(arrowFrom({100, 400}, {400, 300}));
        Annotation ellipse(AnnotationKind::ellipse);
        ellipse.frame = Rect(600, 300, 200, 150);
        ellipse.fillColor = RGBAColor::yellow;
        ellipse.opacity = 0.6;
        place(ellipse);
        place(textAt(Rect(600, 100, 0, 0), QStringLiteral("Hello 한글")));
    }
};

TEST_F(CanvasPainting, TheCardShowsWhatTheRendererMakes)
{
    placeOneOfEachKind();
    const QImage expected = Renderer::makeImage(doc().state())->convertToFormat(QImage::Format_ARGB32_Premultiplied);
    EXPECT_LE(largestDifference(card(), expected), 2);
}

TEST_F(CanvasPainting, DraggingInTheMiddleOfTheStackPaintsTheSamePictureFromCachedLayers)
{
    placeOneOfEachKind();
    const Annotation arrow = annotations().at(2);
    const Point grab = arrow.arrowPoint(0.4);
    paint();
    press(grab);
    moveTo(grab + Vector(20, 10));
    paint();
    const int builds = canvas().scene().layerBuilds();
    for (int step = 2; step <= 6; ++step) {
        moveTo(grab + Vector(20 * step, 10 * step));
        paint();
    }
    EXPECT_EQ(canvas().scene().layerBuilds(), builds) << "frames of a drag reuse the layers";
    const QImage expected = Renderer::makeImage(doc().state())->convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage painted = card();
    std::vector<QRect> handles; // the moved arrow is selected: its handles are drawn over the picture
    for (const auto& [handle, position] : doc().annotation(arrow.id)->handles(26))
        handles.emplace_back(int(position.x) - 9, int(position.y) - 9, 19, 19);
    // Glyph edges drawn into the transparent upper layer miss the gamma correction Qt applies to text over
    // opaque pixels, which moves them by up to a dozen levels; a misplaced or missing object moves far more.
    EXPECT_LE(largestDifference(painted, expected, handles), 16) << "below, moving object, above: same picture";
    release(grab + Vector(120, 60));
}

TEST_F(CanvasPainting, HandlesAppearOnlyAfterTheNewShapeIsMade)
{
    // A handle is a white square: just outside the top-left corner, over the dark title bar of the picture.
    doc().setTool(Tool::rectangle);
    const QPoint outsideCorner(28 + 196, 28 + 12);
    press({200, 16});
    moveTo({300, 100});
    EXPECT_LT(QColor(paint().pixel(outsideCorner)).lightness(), 100);
    release({300, 100});
    EXPECT_EQ(QColor(paint().pixel(outsideCorner)), QColor(Qt::white));
}

TEST_F(CanvasPainting, TheEditedTextIsNotDrawnTwice)
{
    doc().setTool(Tool::text);
    doc().setStyle([&] {
        ToolStyle style = doc().style();
        style.strokeColor = RGBAColor::black;
        style.outlineEnabled = false;
        return style;
    }());
    click({400, 450});
    QTest::keyClicks(textEditor(), QStringLiteral("MMMM"));
    const QRect box = canvas().transform().toView(onlyAnnotation().frame).toAlignedRect();
    const int whileEditing = darkPixels(paint(), box);
    QTest::keyClick(textEditor(), Qt::Key_Return);
    const int committed = darkPixels(paint(), box);
    doc().undo();
    const int picture = darkPixels(paint(), box);
    EXPECT_EQ(whileEditing, picture) << "the field shows the glyphs while editing";
    EXPECT_GT(committed, picture + 50) << "the renderer draws them afterwards";
}

TEST_F(CanvasPainting, BackdropAndTheCardShadowBelow)
{
    const QImage view = paint();
    EXPECT_EQ(QColor(view.pixel(3, 3)), QColor(220, 221, 227));
    const int above = QColor(view.pixel(500, 28 - 5)).lightness();
    const int below = QColor(view.pixel(500, 28 + 600 + 5)).lightness();
    EXPECT_LT(below, above) << "the shadow falls downwards";
    EXPECT_LT(below, QColor(220, 221, 227).lightness());
}

TEST_F(CanvasPainting, CropLabel)
{
    EXPECT_EQ(CanvasOverlay::cropSizeLabel(Rect(0, 0, 100.9, 50.2)), QStringLiteral("100 × 50"));
    const QRectF atTop = CanvasOverlay::cropLabelPill(QRectF(28, 28, 300, 200), QSizeF(60, 15));
    EXPECT_DOUBLE_EQ(atTop.top(), 2) << "a draft at the top keeps its label inside the view";
    EXPECT_EQ(atTop.size(), QSizeF(76, 21));
    EXPECT_DOUBLE_EQ(CanvasOverlay::cropLabelPill(QRectF(28, 200, 300, 200), QSizeF(60, 15)).top(), 173);
}

TEST_F(CanvasPainting, CropShadingDimsOutsideTheDraft)
{
    key(Qt::Key_C);
    dragFrom({100, 100}, {400, 300});
    const QImage view = paint();
    const QImage plain = Renderer::makeImage(doc().state())->convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const auto lightness = [](QRgb p) { return QColor(p).lightness(); };
    EXPECT_NEAR(lightness(view.pixel(28 + 700, 28 + 500)), 0.45 * lightness(plain.pixel(700, 500)), 8);
    EXPECT_LE(std::abs(lightness(view.pixel(28 + 150, 28 + 250)) - lightness(plain.pixel(150, 250))), 2);
}

} // namespace
} // namespace lumivex::test
