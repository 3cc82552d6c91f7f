#include "core/render/Renderer.h"

#include "samples/TestImages.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

using namespace lumivex;

namespace {

const QColor red(220, 30, 40);

QImage filled(int width, int height, QColor colour)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(colour);
    return image;
}

Annotation framed(AnnotationKind kind, Rect frame, std::optional<RGBAColor> fill = RGBAColor{0, 0, 1, 1},
                  double lineWidth = 0)
{
    Annotation a(kind);
    a.frame = frame;
    a.fillColor = fill;
    a.lineWidth = lineWidth;
    return a;
}

// Channel by channel, with room for antialiasing and 8-bit rounding.
::testing::AssertionResult near(QRgb a, QColor expected, int tolerance = 2)
{
    const QRgb e = expected.rgba();
    const int worst = std::max({std::abs(qRed(a) - qRed(e)), std::abs(qGreen(a) - qGreen(e)),
                                std::abs(qBlue(a) - qBlue(e)), std::abs(qAlpha(a) - qAlpha(e))});
    return worst <= tolerance ? ::testing::AssertionSuccess()
                              : ::testing::AssertionFailure() << std::hex << "got " << a << ", expected " << e;
}

QImage render(const EditorState& state) { return Renderer::makeImage(state).value_or(QImage()); }

// Painted as the canvas paints: into a transparent image of the canvas size times `scale`.
QImage paint(const EditorState& state, double scale, const Renderer::IdSet& hiding = {},
             const Renderer::IdSet& glyphsHidden = {})
{
    const Rect canvas = state.canvasRect();
    QImage image(int(std::round(canvas.width * scale)), int(std::round(canvas.height * scale)),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    painter.scale(scale, scale);
    Renderer::draw(state, painter, hiding, glyphsHidden);
    return image;
}

int countPixels(const QImage& image, const std::function<bool(QRgb)>& matches)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += matches(image.pixel(x, y)) ? 1 : 0;
    return count;
}

} // namespace

TEST(RendererCanvas, PaddingBorderIsRoundedAndOnlyWhenEnabled)
{
    const QImage base = test::screenshotLikeImage(90, 70);
    struct Case { bool enabled; double amount; int border; };
    for (const Case c : {Case{false, 40, 0}, Case{true, -8, 0}, Case{true, 12.5, 13}, Case{true, 7, 7}}) {
        SCOPED_TRACE(c.amount);
        EditorState state(base);
        state.padding = CanvasPadding{c.enabled, c.amount, RGBAColor::fromQColor(red)};
        const QImage out = render(state);
        ASSERT_EQ(out.size(), base.size() + QSize(2 * c.border, 2 * c.border));
        EXPECT_EQ(out.copy(c.border, c.border, base.width(), base.height()), base);
        if (c.border > 0) {
            EXPECT_TRUE(near(out.pixel(c.border - 1, out.height() / 2), red));
            EXPECT_TRUE(near(out.pixel(out.width() - 1, out.height() - 1), red));
        }
    }
}

TEST(RendererCanvas, RatioBandsTakeThePaddingColourEvenWithPaddingOff)
{
    EditorState state(test::screenshotLikeImage(1200, 1100));
    state.cropRect = Rect{100, 50, 1000, 1000};
    state.ratio = CanvasRatio::fixed(16, 9);
    state.padding.color = RGBAColor::fromQColor(red);
    const QImage out = render(state);
    ASSERT_EQ(out.size(), QSize(1778, 1000));
    for (int y : {0, 500, 999}) { // 389 on the left; the odd surplus pixel goes to the right band
        EXPECT_TRUE(near(out.pixel(0, y), red));
        EXPECT_TRUE(near(out.pixel(388, y), red));
        EXPECT_EQ(out.pixel(389, y), state.image.pixel(100, 50 + y));
        EXPECT_EQ(out.pixel(1388, y), state.image.pixel(1099, 50 + y));
        EXPECT_TRUE(near(out.pixel(1389, y), red));
        EXPECT_TRUE(near(out.pixel(1777, y), red));
    }
}

TEST(RendererCanvas, ExactSizeIsOpaqueWithTranslucentPaddingOverWhite)
{
    EditorState state(filled(1000, 1000, Qt::blue));
    state.ratio = CanvasRatio::size(1200, 630);
    state.padding.color = RGBAColor{1, 0, 0, 0.5};
    const QImage out = render(state);
    ASSERT_EQ(out.size(), QSize(1200, 630));
    EXPECT_FALSE(out.hasAlphaChannel());
    const QColor pink(255, 128, 128);
    EXPECT_TRUE(near(out.pixel(5, 315), pink));
    EXPECT_TRUE(near(out.pixel(1195, 5), pink));
    EXPECT_TRUE(near(out.pixel(600 - 312, 315), Qt::blue)); // the base scaled to 630 high: edges at 600 -+ 315
    EXPECT_TRUE(near(out.pixel(600 - 318, 315), pink));
}

TEST(RendererCanvas, AnnotationsReachIntoThePaddingAndNoImageForUnusableCanvases)
{
    EditorState state(filled(100, 80, Qt::white));
    state.padding = CanvasPadding{true, 30, RGBAColor::white};
    state.annotations = {framed(AnnotationKind::rectangle, {-20, -20, 40, 40}),
                         framed(AnnotationKind::rectangle, {-500, 70, 2000, 5})};
    const QImage out = render(state);
    ASSERT_EQ(out.size(), QSize(160, 140));
    EXPECT_TRUE(near(out.pixel(15, 15), Qt::blue)); // image (-15, -15), in the padding
    EXPECT_TRUE(near(out.pixel(5, 5), Qt::white));
    EXPECT_TRUE(near(out.pixel(0, 102), Qt::blue)); // cut only by the bitmap
    EXPECT_TRUE(near(out.pixel(159, 102), Qt::blue));

    EXPECT_FALSE(Renderer::makeImage(EditorState(QImage())));
    state.padding.amount = 1e9;
    EXPECT_FALSE(Renderer::makeImage(state));
    state.padding.enabled = false;
    state.ratio = CanvasRatio::size(30000, 30000);
    EXPECT_FALSE(Renderer::makeImage(state));
}

TEST(RendererCanvas, CopyingAPremultipliedBaseEqualsDrawingAStraightOne)
{
    QImage base = test::screenshotLikeImage(120, 90);
    QPainter(&base).fillRect(10, 10, 30, 30, QColor(0, 200, 0, 90));
    EditorState copied(base);
    Annotation rectangle = framed(AnnotationKind::rectangle, {30, 20, 50, 40}, RGBAColor{1, 0, 0, 0.6});
    rectangle.opacity = 0.7;
    Annotation blur = framed(AnnotationKind::blur, {5, 50, 60, 30});
    blur.blurAmount = 4;
    copied.annotations = {rectangle, blur};
    EditorState drawn = copied;
    drawn.image = base.convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(render(copied), render(drawn).convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

TEST(RendererCanvas, TheBaseImageIsDrawnAtItsPixelSizeWhateverItsDevicePixelRatio)
{
    // An image object from the clipboard can carry a device pixel ratio; Qt would draw it at a point at half size.
    const QImage plain = test::screenshotLikeImage(100, 80);
    QImage dense = plain;
    dense.setDevicePixelRatio(2);
    for (int framing = 0; framing < 3; ++framing) {
        SCOPED_TRACE(framing);
        EditorState expected(plain);
        if (framing == 0)
            expected.padding = CanvasPadding{true, 10, RGBAColor::black};
        else if (framing == 1)
            expected.ratio = CanvasRatio::fixed(2, 1);
        else
            expected.cropRect = Rect{10, 10, 50, 40};
        EditorState actual = expected;
        actual.image = dense;
        EXPECT_EQ(render(actual), render(expected));
        EXPECT_EQ(paint(actual, 1.5), paint(expected, 1.5)) << "as the canvas draws it";
    }
}

TEST(RendererShapes, OversizedRadiusGivesACapsuleAndRotationTurnsAboutTheCentre)
{
    EditorState state(filled(400, 120, Qt::white));
    Annotation capsule = framed(AnnotationKind::rectangle, {20, 20, 200, 60});
    capsule.cornerRadius = 500; // more than half the height: round ends of radius 30
    Annotation bar = framed(AnnotationKind::rectangle, {250, 50, 100, 20});
    bar.rotation = std::numbers::pi / 2; // about the frame centre (300, 60)
    state.annotations = {capsule, bar};
    const QImage out = render(state);
    EXPECT_TRUE(near(out.pixel(24, 24), Qt::white));
    EXPECT_TRUE(near(out.pixel(21, 50), Qt::blue));
    EXPECT_TRUE(near(out.pixel(120, 21), Qt::blue));
    EXPECT_TRUE(near(out.pixel(300, 15), Qt::blue));
    EXPECT_TRUE(near(out.pixel(300, 105), Qt::blue));
    EXPECT_TRUE(near(out.pixel(260, 60), Qt::white));
}

TEST(RendererShapes, TranslucentObjectShowsNoDarkerOverlap)
{
    EditorState state(filled(200, 200, Qt::white));
    Annotation rectangle = framed(AnnotationKind::rectangle, {40, 40, 120, 120}, RGBAColor{0, 0, 1, 1}, 20);
    rectangle.strokeColor = RGBAColor{1, 0, 0, 1};
    rectangle.opacity = 0.5;
    state.annotations = {rectangle};
    const QImage out = render(state);
    EXPECT_TRUE(near(out.pixel(35, 100), QColor(255, 128, 128))); // stroke over white
    EXPECT_TRUE(near(out.pixel(45, 100), QColor(255, 128, 128))); // stroke over the fill: no darker band
    EXPECT_TRUE(near(out.pixel(100, 100), QColor(128, 128, 255)));
}

TEST(RendererText, HiddenGlyphsLeaveBoxAndOutline)
{
    Annotation text(AnnotationKind::text);
    text.text = QStringLiteral("Hello 안녕");
    text.fontSize = 48;
    text.frame = Rect{20, 20, 0, 0};
    text.refreshTextFrame(false);
    text.strokeColor = RGBAColor{0, 1, 0, 1};
    text.fillColor = RGBAColor{1, 1, 0, 1};
    text.outlineColor = RGBAColor{0, 0, 0, 1};
    text.outlineWidth = 3;
    EditorState state(filled(400, 160, Qt::white));
    state.annotations = {text};
    auto greens = [](QRgb p) { return qGreen(p) > 200 && qRed(p) < 60 && qBlue(p) < 60; };
    auto blacks = [](QRgb p) { return qAlpha(p) == 255 && qGray(p) < 40; };
    auto yellows = [](QRgb p) { return qRed(p) > 240 && qGreen(p) > 240 && qBlue(p) < 30; };
    const QImage shown = paint(state, 1), hidden = paint(state, 1, {}, {text.id});
    EXPECT_GT(countPixels(shown, greens), 200);
    EXPECT_EQ(countPixels(hidden, greens), 0);
    EXPECT_GT(countPixels(hidden, blacks), countPixels(shown, blacks)); // the outline's inner half shows
    EXPECT_GT(countPixels(hidden, yellows), 1000);
    EXPECT_EQ(countPixels(paint(state, 1, {text.id}), yellows), 0);
}

TEST(RendererBlur, PartlyOutsideTheImageIsBlurredOnlyInsideAndOnlyWhatLiesBelow)
{
    // Two-pixel stripes blur to an even grey; unblurred pixels are black or white.
    QImage base(100, 100, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            base.setPixel(x, y, (y / 2) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    EditorState state(base);
    state.padding = CanvasPadding{true, 50, RGBAColor::fromQColor(red)};
    Annotation blur = framed(AnnotationKind::blur, {-40, 20, 100, 80});
    blur.blurAmount = 6;
    blur.cornerRadius = 30;
    state.annotations = {blur, framed(AnnotationKind::rectangle, {20, 80, 10, 10})};
    const QImage out = render(state); // image (0, 0) at (50, 50)
    auto isGrey = [](QRgb p) { return std::abs(qRed(p) - 128) < 20 && qRed(p) == qBlue(p); };
    EXPECT_TRUE(isGrey(out.pixel(80, 110)));
    EXPECT_TRUE(isGrey(out.pixel(50, 110)));         // up to the image's edge
    EXPECT_TRUE(near(out.pixel(40, 110), red));      // not in the padding
    EXPECT_TRUE(near(out.pixel(12, 110), red));
    EXPECT_FALSE(isGrey(out.pixel(108, 72)));        // the rounded corner keeps the stripes
    EXPECT_TRUE(isGrey(out.pixel(75, 72)));
    EXPECT_FALSE(isGrey(out.pixel(120, 110)));       // beyond the frame
    EXPECT_TRUE(near(out.pixel(75, 135), Qt::blue)); // drawn above the blur

    state.annotations = {framed(AnnotationKind::rectangle, {20, 80, 10, 10}), blur};
    EXPECT_TRUE(isGrey(render(state).pixel(75, 135))); // covered by the blur above it
}

namespace {

// Device rows from the shaft's lower edge to where its shadow fades below a tenth of its strongest.
int shadowDepth(double scale)
{
    Annotation arrow(AnnotationKind::arrow);
    arrow.points = {{20, 40}, {180, 40}};
    arrow.lineWidth = 10;
    arrow.strokeColor = RGBAColor{0, 0, 1, 1};
    EditorState state(filled(200, 100, Qt::transparent));
    state.annotations = {arrow};
    const QImage out = paint(state, scale);
    const int column = int(70 * scale);
    int lastBlue = -1, strongest = 0;
    for (int y = 0; y < out.height(); ++y) {
        const QRgb p = out.pixel(column, y);
        qBlue(p) > 0 ? void(lastBlue = y) : void(strongest = std::max(strongest, qAlpha(p)));
    }
    int lastShadow = lastBlue;
    for (int y = lastBlue + 1; y < out.height(); ++y)
        if (qAlpha(out.pixel(column, y)) * 10 >= strongest)
            lastShadow = y;
    return lastShadow - lastBlue;
}

} // namespace

TEST(RendererArrow, ShadowScalesWithTheZoom)
{
    const int atOne = shadowDepth(1);
    EXPECT_GT(atOne, 5);
    EXPECT_NEAR(shadowDepth(2), 2 * atOne, 3);
}

TEST(RendererInput, DegenerateAnnotationsDrawNothingAndGiganticOnesAreCut)
{
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    const QImage base = filled(64, 64, Qt::white);
    EditorState state(base);
    for (AnnotationKind kind : {AnnotationKind::rectangle, AnnotationKind::ellipse, AnnotationKind::text,
                                AnnotationKind::blur, AnnotationKind::sticker})
        for (Rect frame : {Rect{nan, 0, 10, 10}, Rect{0, 0, inf, 10}}) {
            Annotation a = framed(kind, frame, RGBAColor::black);
            a.sticker = StickerSource::emoji(QStringLiteral("\U0001F600"));
            state.annotations.push_back(a);
        }
    Annotation polygon(AnnotationKind::polygon), arrow(AnnotationKind::arrow), twoPoints(AnnotationKind::polygon);
    polygon.points = {{0, 0}, {nan, 5}, {10, 10}};
    polygon.fillColor = twoPoints.fillColor = RGBAColor::black;
    arrow.points = {{0, 0}, {inf, 5}};
    twoPoints.points = {{5, 5}, {45, 45}};
    Annotation invisible = framed(AnnotationKind::rectangle, {10, 10, 40, 40}, RGBAColor::black);
    invisible.opacity = 0;
    Annotation unstroked = framed(AnnotationKind::ellipse, {10, 10, 40, 40}, std::nullopt);
    for (const Annotation& a : {polygon, arrow, twoPoints, invisible, unstroked,
                                framed(AnnotationKind::sticker, {0, 0, 30, 30})})
        state.annotations.push_back(a);
    EXPECT_EQ(render(state), base);

    Annotation wide = framed(AnnotationKind::ellipse, {-1e7, -1e7, 2e7, 2e7}, RGBAColor{0, 0, 1, 1}, 1e5);
    wide.opacity = 0.5;
    Annotation longArrow(AnnotationKind::arrow);
    longArrow.points = {{-1e6, 30}, {1e6, 30}};
    longArrow.lineWidth = 50;
    state.annotations = {wide, longArrow};
    EXPECT_EQ(render(state).size(), QSize(64, 64));
}
