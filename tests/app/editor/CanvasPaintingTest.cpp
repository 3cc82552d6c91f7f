// What the canvas paints: the document as the renderer draws it, the editing aids on top, and the cached
// layers that keep a drag from redrawing the whole picture on every frame.
#include "CanvasFixture.h"

#include "app/editor/InlineTextEditor.h"
#include "core/render/Renderer.h"

namespace lumivex::test {
namespace {

int lightness(QRgb p) { return QColor(p).lightness(); }

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
    QImage rendered() { return Renderer::makeImage(doc().state())->convertToFormat(QImage::Format_ARGB32_Premultiplied); }

    // The largest channel difference between the card (at one point per pixel) and `expected`, outside `skipped`.
    int cardDifference(const QImage& expected, const std::vector<QRect>& skipped = {})
    {
        const QImage card = paint().copy(28, 28, 1000, 600);
        int largest = 0;
        for (int y = 0; y < card.height(); ++y)
            for (int x = 0; x < card.width(); ++x) {
                if (std::any_of(skipped.begin(), skipped.end(), [&](const QRect& r) { return r.contains(x, y); }))
                    continue;
                const QRgb p = card.pixel(x, y), q = expected.pixel(x, y);
                largest = std::max({largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                    std::abs(qBlue(p) - qBlue(q))});
            }
        return largest;
    }
};

TEST_F(CanvasPainting, TheCardShowsWhatTheRendererMakesAlsoFromCachedLayersDuringADrag)
{
    place(rectangleAt(Rect(60, 80, 200, 120)));
    Annotation blur(AnnotationKind::blur);
    blur.frame = Rect(300, 60, 220, 160);
    blur.blurAmount = 12;
    place(blur);
    const Annotation arrow = place(arrowFrom({100, 400}, {400, 300}));
    Annotation ellipse(AnnotationKind::ellipse);
    ellipse.frame = Rect(600, 300, 200, 150);
    ellipse.fillColor = RGBAColor::yellow;
    ellipse.opacity = 0.6;
    place(ellipse);
    place(textAt({600, 100}, QStringLiteral("Hello 한글")));
    EXPECT_LE(cardDifference(rendered()), 2);

    // Drag the arrow in the middle of the stack.
    const Point grab = arrow.arrowPoint(0.4);
    press(grab);
    moveTo(grab + Vector(20, 10));
    paint();
    const int builds = canvas().scene().layerBuilds();
    for (int step = 2; step <= 6; ++step) {
        moveTo(grab + Vector(20 * step, 10 * step));
        paint();
    }
    EXPECT_EQ(canvas().scene().layerBuilds(), builds) << "frames of a drag reuse the layers";
    std::vector<QRect> handles; // the moved arrow is selected: its handles are drawn over the picture
    for (const auto& [handle, position] : doc().annotation(arrow.id)->handles(26))
        handles.emplace_back(int(position.x) - 9, int(position.y) - 9, 19, 19);
    // Glyph edges drawn into the transparent upper layer miss the gamma correction Qt applies to text over
    // opaque pixels, which moves them by up to a dozen levels; a misplaced or missing object moves far more.
    EXPECT_LE(cardDifference(rendered(), handles), 16) << "below, moving object, above: same picture";
    release(grab + Vector(120, 60));
}

TEST_F(CanvasPainting, AReducedViewShowsTheRenderedPictureAndAMoveRedrawsOnlyTheMovedObject)
{
    place(rectangleAt(Rect(60, 80, 200, 120)));
    Annotation blur(AnnotationKind::blur);
    blur.frame = Rect(300, 60, 220, 160);
    place(blur);
    const Annotation arrow = place(arrowFrom({100, 400}, {400, 300}));
    Annotation ellipse(AnnotationKind::ellipse);
    ellipse.frame = Rect(600, 300, 200, 150);
    ellipse.fillColor = RGBAColor::yellow;
    place(ellipse);
    doc().select(std::nullopt);

    // A third of the size: the base comes from the halved copy, every object from its sprite at this zoom.
    canvas().resize(1000 / 3 + 56, 200 + 56);
    QImage view(canvas().size(), QImage::Format_ARGB32_Premultiplied);
    canvas().render(&view, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    const QRect card = canvas().transform().cardRect(doc().state().canvasRect()).toAlignedRect();
    const QImage expected = rendered().scaled(card.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage shown = view.copy(card);
    double total = 0;
    for (int y = 1; y < card.height() - 1; ++y)
        for (int x = 1; x < card.width() - 1; ++x) {
            const QRgb p = shown.pixel(x, y), q = expected.pixel(x, y);
            total += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    EXPECT_LT(total / (3.0 * card.width() * card.height()), 4) << "same picture, reduced";

    const int sprites = canvas().scene().spriteBuilds();
    const Point grab = arrow.arrowPoint(0.4);
    press(grab);
    moveTo(grab + Vector(30, 0));
    release(grab + Vector(30, 0));
    doc().select(std::nullopt);
    canvas().render(&view, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    EXPECT_EQ(canvas().scene().spriteBuilds(), sprites + 1) << "only the moved arrow is drawn again";
}

TEST_F(CanvasPainting, HandlesAppearOnlyAfterTheNewShapeIsMade)
{
    // A handle is a white square: just outside the top-left corner, over the dark title bar of the picture.
    doc().setTool(Tool::rectangle);
    const QPoint outsideCorner(28 + 196, 28 + 12);
    press({200, 16});
    moveTo({300, 100});
    EXPECT_LT(lightness(paint().pixel(outsideCorner)), 100);
    release({300, 100});
    EXPECT_EQ(QColor(paint().pixel(outsideCorner)), QColor(Qt::white));
}

TEST_F(CanvasPainting, TheEditedTextIsNotDrawnTwice)
{
    doc().setTool(Tool::text);
    ToolStyle style = doc().style();
    style.strokeColor = RGBAColor::black;
    style.outlineEnabled = false;
    doc().setStyle(style);
    click({400, 450});
    QTest::keyClicks(textEditor(), QStringLiteral("MMMM"));
    const QRect box = canvas().transform().toView(onlyAnnotation().frame).toAlignedRect();
    const auto darkPixels = [&] {
        const QImage image = paint();
        int count = 0;
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                count += lightness(image.pixel(x, y)) < 80;
        return count;
    };
    const int whileEditing = darkPixels();
    QTest::keyClick(textEditor(), Qt::Key_Return);
    const int committed = darkPixels();
    doc().undo();
    const int picture = darkPixels();
    EXPECT_EQ(whileEditing, picture) << "the field shows the glyphs while editing";
    EXPECT_GT(committed, picture + 50) << "the renderer draws them afterwards";
}

} // namespace
} // namespace lumivex::test
