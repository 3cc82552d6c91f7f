#include "core/render/Renderer.h"

#include "support/TestImages.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

using namespace lumivex;

namespace {

const QColor paddingRed(220, 30, 40);

QImage filled(int width, int height, QColor colour)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(colour);
    return image;
}

Annotation framed(AnnotationKind kind, Rect frame)
{
    Annotation a(kind);
    a.frame = frame;
    return a;
}

Annotation filledRectangle(Rect frame, RGBAColor fill)
{
    Annotation a = framed(AnnotationKind::rectangle, frame);
    a.fillColor = fill;
    a.lineWidth = 0;
    return a;
}

// Colours compared channel by channel with a small tolerance for antialiasing and 8-bit rounding.
::testing::AssertionResult near(QRgb actual, QColor expected, int tolerance = 2)
{
    const QRgb e = expected.rgba();
    if (std::abs(qRed(actual) - qRed(e)) <= tolerance && std::abs(qGreen(actual) - qGreen(e)) <= tolerance
        && std::abs(qBlue(actual) - qBlue(e)) <= tolerance && std::abs(qAlpha(actual) - qAlpha(e)) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got " << QColor::fromRgba(actual).name(QColor::HexArgb).toStdString()
                                         << ", expected " << expected.name(QColor::HexArgb).toStdString();
}

QImage render(const EditorState& state)
{
    const std::optional<QImage> image = Renderer::makeImage(state);
    return image ? *image : QImage();
}

// Paints a state the way the canvas does, into a transparent image of the canvas size times `scale`.
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
    painter.end();
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

// ---- canvas, padding and ratio

struct FramingCase {
    const char* name;
    bool enabled;
    double amount;
    int border; // expected padding on every side, in pixels
};

class Framing : public testing::TestWithParam<FramingCase> {};

TEST_P(Framing, BorderOfTheRoundedPaddingAroundAnUntouchedBase)
{
    const QImage base = test::screenshotLikeImage(90, 70);
    EditorState state(base);
    state.padding = CanvasPadding{GetParam().enabled, GetParam().amount, RGBAColor::fromQColor(paddingRed)};
    const QImage out = render(state);
    const int border = GetParam().border;
    ASSERT_EQ(out.size(), base.size() + QSize(2 * border, 2 * border));
    EXPECT_EQ(out.format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(out.copy(border, border, base.width(), base.height()), base);
    if (border > 0) {
        EXPECT_TRUE(near(out.pixel(0, 0), paddingRed));
        EXPECT_TRUE(near(out.pixel(border - 1, out.height() / 2), paddingRed));
        EXPECT_TRUE(near(out.pixel(out.width() - 1, out.height() - 1), paddingRed));
    }
}

INSTANTIATE_TEST_SUITE_P(Padding, Framing,
                         testing::Values(FramingCase{"off", false, 0, 0}, FramingCase{"offWithAmount", false, 40, 0},
                                         FramingCase{"zero", true, 0, 0}, FramingCase{"negative", true, -8, 0},
                                         FramingCase{"halfRoundsUp", true, 12.5, 13}, FramingCase{"whole", true, 7, 7}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RendererCanvas, RatioBandsTakeThePaddingColourEvenWithPaddingOff)
{
    EditorState state(test::screenshotLikeImage(1200, 1100));
    state.cropRect = Rect{100, 50, 1000, 1000};
    state.ratio = CanvasRatio::fixed(16, 9);
    state.padding.color = RGBAColor::fromQColor(paddingRed);
    const QImage out = render(state);
    ASSERT_EQ(out.size(), QSize(1778, 1000));
    // The left edge moved left by 389; the odd surplus pixel went to the right band.
    for (int y : {0, 500, 999}) {
        EXPECT_TRUE(near(out.pixel(0, y), paddingRed));
        EXPECT_TRUE(near(out.pixel(388, y), paddingRed));
        EXPECT_EQ(out.pixel(389, y), state.image.pixel(100, 50 + y));
        EXPECT_EQ(out.pixel(1388, y), state.image.pixel(1099, 50 + y));
        EXPECT_TRUE(near(out.pixel(1389, y), paddingRed));
        EXPECT_TRUE(near(out.pixel(1777, y), paddingRed));
    }
}

TEST(RendererCanvas, ExactSizeIsOpaqueWithTranslucentPaddingOverWhite)
{
    EditorState state(filled(1000, 1000, QColor(0, 0, 255)));
    state.ratio = CanvasRatio::size(1200, 630);
    state.padding.color = RGBAColor{1, 0, 0, 0.5};
    const QImage out = render(state);
    ASSERT_EQ(out.size(), QSize(1200, 630));
    EXPECT_FALSE(out.hasAlphaChannel());
    EXPECT_TRUE(near(out.pixel(5, 315), QColor(255, 128, 128)));    // band: half red over white
    EXPECT_TRUE(near(out.pixel(600, 315), QColor(0, 0, 255)));      // the base, scaled by 630 / 1000
    EXPECT_TRUE(near(out.pixel(600 - 312, 315), QColor(0, 0, 255))); // base edges at 600 -+ 315
    EXPECT_TRUE(near(out.pixel(600 - 318, 315), QColor(255, 128, 128)));
    EXPECT_TRUE(near(out.pixel(1195, 5), QColor(255, 128, 128)));
}

TEST(RendererCanvas, AnnotationsReachIntoThePaddingAndAreCutOnlyByTheBitmap)
{
    EditorState state(filled(100, 80, Qt::white));
    state.padding = CanvasPadding{true, 30, RGBAColor::white};
    state.annotations.push_back(filledRectangle({-20, -20, 40, 40}, RGBAColor{0, 0, 1, 1}));
    state.annotations.push_back(filledRectangle({-500, 70, 2000, 5}, RGBAColor{0, 0, 1, 1}));
    const QImage out = render(state);
    ASSERT_EQ(out.size(), QSize(160, 140));
    EXPECT_TRUE(near(out.pixel(15, 15), Qt::blue));  // image (-15, -15): in the padding
    EXPECT_TRUE(near(out.pixel(45, 45), Qt::blue));  // image (15, 15)
    EXPECT_TRUE(near(out.pixel(5, 5), Qt::white));   // image (-25, -25): outside the rectangle
    EXPECT_TRUE(near(out.pixel(0, 102), Qt::blue));  // a band wider than the picture reaches both edges
    EXPECT_TRUE(near(out.pixel(159, 102), Qt::blue));
}

TEST(RendererCanvas, CopyingTheBaseGivesTheSamePictureAsDrawingIt)
{
    // A premultiplied base starts the picture as a copy; a straight-alpha base is drawn. Same result.
    QImage base = test::screenshotLikeImage(120, 90);
    QPainter(&base).fillRect(10, 10, 30, 30, QColor(0, 200, 0, 90));
    EditorState copied(base);
    Annotation rectangle = filledRectangle({30, 20, 50, 40}, RGBAColor{1, 0, 0, 0.6});
    rectangle.opacity = 0.7;
    Annotation blur = framed(AnnotationKind::blur, {5, 50, 60, 30});
    blur.blurAmount = 4;
    copied.annotations = {rectangle, blur};
    EditorState drawn = copied;
    drawn.image = base.convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(render(copied), render(drawn).convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

TEST(RendererCanvas, NoImageForUnusableCanvases)
{
    EXPECT_FALSE(Renderer::makeImage(EditorState(QImage())).has_value());
    EditorState huge(filled(10, 10, Qt::white));
    huge.padding = CanvasPadding{true, 1e9, RGBAColor::white};
    EXPECT_FALSE(Renderer::makeImage(huge).has_value());
    EditorState tooManyPixels(filled(10, 10, Qt::white));
    tooManyPixels.ratio = CanvasRatio::size(30000, 30000);
    EXPECT_FALSE(Renderer::makeImage(tooManyPixels).has_value());
}

// ---- shapes

TEST(RendererShapes, OversizedCornerRadiusGivesACapsule)
{
    EditorState state(filled(240, 100, Qt::white));
    Annotation capsule = filledRectangle({20, 20, 200, 60}, RGBAColor{0, 0, 1, 1});
    capsule.cornerRadius = 500;
    state.annotations = {capsule};
    const QImage out = render(state);
    EXPECT_TRUE(near(out.pixel(24, 24), Qt::white)); // outside the round end (radius 30, centre 50, 50)
    EXPECT_TRUE(near(out.pixel(21, 50), Qt::blue));  // the tip of the round end
    EXPECT_TRUE(near(out.pixel(120, 21), Qt::blue)); // the straight top edge
    EXPECT_TRUE(near(out.pixel(215, 24), Qt::white));
}

TEST(RendererShapes, LineWidthZeroDrawsNoStroke)
{
    const QImage base = filled(100, 100, Qt::white);
    EditorState state(base);
    Annotation outline = framed(AnnotationKind::rectangle, {10, 10, 80, 80});
    outline.lineWidth = 0;
    Annotation ellipse = framed(AnnotationKind::ellipse, {10, 10, 80, 80});
    ellipse.lineWidth = 0;
    state.annotations = {outline, ellipse};
    EXPECT_EQ(render(state), base);
}

TEST(RendererShapes, TranslucentObjectShowsNoDarkerOverlap)
{
    EditorState state(filled(200, 200, Qt::white));
    Annotation rectangle = framed(AnnotationKind::rectangle, {40, 40, 120, 120});
    rectangle.fillColor = RGBAColor{0, 0, 1, 1};
    rectangle.strokeColor = RGBAColor{1, 0, 0, 1};
    rectangle.lineWidth = 20;
    rectangle.opacity = 0.5;
    state.annotations = {rectangle};
    const QImage out = render(state);
    const QColor halfRed(255, 128, 128), halfBlue(128, 128, 255);
    EXPECT_TRUE(near(out.pixel(35, 100), halfRed));  // outer half of the stroke, over white only
    EXPECT_TRUE(near(out.pixel(45, 100), halfRed));  // inner half, over the fill: no darker band
    EXPECT_TRUE(near(out.pixel(100, 100), halfBlue)); // the fill
    EXPECT_TRUE(near(out.pixel(20, 20), Qt::white));
}

TEST(RendererShapes, RotationTurnsAboutTheFrameCentre)
{
    EditorState state(filled(200, 200, Qt::white));
    Annotation bar = filledRectangle({50, 90, 100, 20}, RGBAColor{0, 0, 1, 1});
    bar.rotation = std::numbers::pi / 2;
    state.annotations = {bar};
    const QImage out = render(state);
    EXPECT_TRUE(near(out.pixel(100, 55), Qt::blue));  // the turned bar stands upright
    EXPECT_TRUE(near(out.pixel(100, 145), Qt::blue));
    EXPECT_TRUE(near(out.pixel(60, 100), Qt::white)); // where the unturned bar was
}

TEST(RendererShapes, TranslucentObjectLandsInPlaceOnAHighDensityImage)
{
    EditorState state(filled(100, 100, Qt::white));
    Annotation rectangle = filledRectangle({20, 30, 40, 20}, RGBAColor{0, 0, 1, 1});
    rectangle.opacity = 0.5;
    state.annotations = {rectangle};

    QImage dense(200, 200, QImage::Format_ARGB32_Premultiplied);
    dense.setDevicePixelRatio(2);
    dense.fill(Qt::transparent);
    QPainter painter(&dense);
    Renderer::draw(state, painter, {}, {});
    painter.end();
    dense.setDevicePixelRatio(1);
    EXPECT_EQ(dense, paint(state, 2));
    EXPECT_TRUE(near(dense.pixel(80, 80), QColor(128, 128, 255)));
}

TEST(RendererShapes, StickerImageIsStretchedToItsFrame)
{
    QImage picture(2, 1, QImage::Format_ARGB32_Premultiplied);
    picture.setPixel(0, 0, qRgb(255, 0, 0));
    picture.setPixel(1, 0, qRgb(0, 0, 255));
    EditorState state(filled(200, 100, Qt::white));
    Annotation sticker = framed(AnnotationKind::sticker, {20, 20, 160, 40});
    sticker.sticker = StickerSource::image(StickerImage::make(picture, QStringLiteral("two")));
    state.annotations = {sticker};
    const QImage out = render(state);
    EXPECT_TRUE(near(out.pixel(30, 40), Qt::red, 8));
    EXPECT_TRUE(near(out.pixel(170, 40), Qt::blue, 8));
    EXPECT_TRUE(near(out.pixel(100, 10), Qt::white));
    EXPECT_TRUE(near(out.pixel(100, 70), Qt::white));
}

TEST(RendererShapes, EmojiKeepsItsProportionsCentredInTheFrame)
{
    const QString emoji = QStringLiteral("\U0001F600");
    const QSizeF measured = StickerSource::emojiSize(emoji);
    ASSERT_GT(measured.width(), 0);
    QImage out(300, 120, QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    QPainter painter(&out);
    Renderer::drawEmoji(emoji, Rect{0, 0, 300, 120}, painter);
    painter.end();
    QRect drawn;
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x)
            drawn |= qAlpha(out.pixel(x, y)) > 0 ? QRect(x, y, 1, 1) : QRect();
    // Scaled by 120 / measured height: its width follows the emoji's own proportions, not the frame's.
    ASSERT_FALSE(drawn.isEmpty());
    EXPECT_LE(drawn.width(), measured.width() * 120 / measured.height() + 2);
    EXPECT_NEAR(drawn.center().x(), 150, 3);
}

// ---- text

class RendererText : public testing::Test {
protected:
    RendererText() : state(filled(400, 160, Qt::white))
    {
        text.text = QStringLiteral("Hello 안녕");
        text.fontSize = 48;
        text.frame = Rect{20, 20, 0, 0};
        text.refreshTextFrame(false);
        text.strokeColor = RGBAColor{0, 1, 0, 1};
        text.fillColor = RGBAColor{1, 1, 0, 1};
        text.outlineColor = RGBAColor{0, 0, 0, 1};
        text.outlineWidth = 3;
        state.annotations = {text};
    }

    static int greens(const QImage& i) { return countPixels(i, [](QRgb p) { return qGreen(p) > 200 && qRed(p) < 60 && qBlue(p) < 60; }); }
    static int blacks(const QImage& i) { return countPixels(i, [](QRgb p) { return qAlpha(p) == 255 && qGray(p) < 40; }); }
    static int yellows(const QImage& i) { return countPixels(i, [](QRgb p) { return qRed(p) > 240 && qGreen(p) > 240 && qBlue(p) < 30; }); }

    Annotation text{AnnotationKind::text};
    EditorState state;
};

TEST_F(RendererText, HiddenGlyphsLeaveBoxAndOutline)
{
    const QImage shown = paint(state, 1);
    const QImage hidden = paint(state, 1, {}, {text.id});
    EXPECT_GT(greens(shown), 200);
    EXPECT_EQ(greens(hidden), 0);
    EXPECT_GT(blacks(hidden), blacks(shown)); // the glyphs no longer cover the outline's inner half
    EXPECT_GT(yellows(hidden), 1000);
    EXPECT_GT(yellows(shown), 1000);
    EXPECT_EQ(yellows(paint(state, 1, {text.id})), 0); // hidden altogether
}

// ---- blur

TEST(RendererBlur, PartlyOutsideTheImageIsBlurredOnlyInsideWithinItsRoundedFrame)
{
    // Stripes two pixels high blur to an even grey; any unblurred pixel is black or white. Running across the
    // rows they continue past the left edge unchanged, so the edge keeps the same grey.
    QImage base(100, 100, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            base.setPixel(x, y, (y / 2) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    EditorState state(base);
    state.padding = CanvasPadding{true, 50, RGBAColor::fromQColor(paddingRed)};
    Annotation blur = framed(AnnotationKind::blur, {-40, 20, 100, 80});
    blur.blurAmount = 6;
    blur.cornerRadius = 30;
    state.annotations = {blur};
    const QImage out = render(state); // image (0, 0) is at (50, 50)

    auto isGrey = [](QRgb p) { return std::abs(qRed(p) - 128) < 20 && qRed(p) == qBlue(p); };
    EXPECT_TRUE(isGrey(out.pixel(50 + 30, 50 + 60)));
    EXPECT_TRUE(isGrey(out.pixel(50 + 0, 50 + 60)));               // up to the image's edge
    EXPECT_TRUE(near(out.pixel(50 - 10, 50 + 60), paddingRed));    // the frame's part in the padding
    EXPECT_TRUE(near(out.pixel(50 - 38, 50 + 60), paddingRed));
    EXPECT_FALSE(isGrey(out.pixel(50 + 58, 50 + 22)));             // the rounded corner keeps the stripes
    EXPECT_TRUE(isGrey(out.pixel(50 + 25, 50 + 22)));
    EXPECT_FALSE(isGrey(out.pixel(50 + 70, 50 + 60)));             // beyond the frame
}

TEST(RendererBlur, CoversWhatLiesBelowAndNotWhatLiesAbove)
{
    const QImage base = filled(100, 60, QColor(40, 40, 40));
    EditorState state(base);
    Annotation blur = framed(AnnotationKind::blur, {10, 10, 80, 40});
    blur.blurAmount = 3;
    state.annotations = {filledRectangle({20, 20, 20, 20}, RGBAColor{1, 0, 0, 1}), blur,
                         filledRectangle({60, 20, 20, 20}, RGBAColor{0, 0, 1, 1})};
    const QImage out = render(state);
    EXPECT_TRUE(near(out.pixel(30, 30), QColor(40, 40, 40))); // below: covered by a patch of the base
    EXPECT_TRUE(near(out.pixel(70, 30), Qt::blue));           // above: drawn over the patch
}

// ---- arrows

namespace {

// Rows from the arrow's lower edge to where its shadow fades below a tenth of its strongest, at a column
// through the shaft, in device pixels.
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
        if (qBlue(p) > 0)
            lastBlue = y;
        else
            strongest = std::max(strongest, qAlpha(p));
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
    const int atTwo = shadowDepth(2);
    EXPECT_GT(atOne, 5);
    EXPECT_NEAR(atTwo, 2 * atOne, 3);
}

TEST(RendererArrow, OutlineAndShadowFadeWithTheArrow)
{
    Annotation arrow(AnnotationKind::arrow);
    arrow.points = {{20, 50}, {180, 50}};
    arrow.arrowBend = 0.3;
    arrow.outlineColor = RGBAColor::white;
    arrow.outlineWidth = 3;
    EditorState state(filled(200, 120, Qt::transparent));
    state.annotations = {arrow};
    const QImage opaque = paint(state, 1);
    EXPECT_GT(countPixels(opaque, [](QRgb p) { return qAlpha(p) == 255 && qBlue(p) > 240; }), 100); // outline
    EXPECT_GT(countPixels(opaque, [](QRgb p) { return qAlpha(p) > 0 && qRed(p) == 0; }), 100);      // shadow
    // Faded as one picture: the strongest pixel is half as opaque, and nothing appears where nothing was.
    state.annotations[0].opacity = 0.5;
    const QImage faded = paint(state, 1);
    int strongest = 0;
    for (int y = 0; y < faded.height(); ++y)
        for (int x = 0; x < faded.width(); ++x) {
            strongest = std::max(strongest, qAlpha(faded.pixel(x, y)));
            ASSERT_TRUE(qAlpha(opaque.pixel(x, y)) > 0 || qAlpha(faded.pixel(x, y)) == 0);
        }
    EXPECT_NEAR(strongest, 128, 2);
}

// ---- bad input

TEST(RendererInput, DegenerateAnnotationsDrawNothingAndDoNotCrash)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const QImage base = filled(64, 64, Qt::white);
    EditorState state(base);
    for (AnnotationKind kind : {AnnotationKind::rectangle, AnnotationKind::ellipse, AnnotationKind::text,
                                AnnotationKind::blur, AnnotationKind::sticker}) {
        for (Rect frame : {Rect{nan, 0, 10, 10}, Rect{0, 0, inf, 10}}) {
            Annotation a = framed(kind, frame);
            a.fillColor = RGBAColor::black;
            a.sticker = StickerSource::emoji(QStringLiteral("\U0001F600"));
            state.annotations.push_back(a);
        }
    }
    Annotation polygon(AnnotationKind::polygon);
    polygon.points = {{0, 0}, {nan, 5}, {10, 10}};
    polygon.fillColor = RGBAColor::black;
    Annotation arrow(AnnotationKind::arrow);
    arrow.points = {{0, 0}, {inf, 5}};
    Annotation twoPoints(AnnotationKind::polygon);
    twoPoints.points = {{5, 5}, {45, 45}};
    twoPoints.fillColor = RGBAColor::black;
    Annotation invisible = filledRectangle({10, 10, 40, 40}, RGBAColor::black);
    invisible.opacity = 0;
    for (const Annotation& a : {polygon, arrow, twoPoints, invisible, framed(AnnotationKind::sticker, {0, 0, 30, 30})})
        state.annotations.push_back(a);
    EXPECT_EQ(render(state), base);
}

TEST(RendererInput, GiganticAnnotationsAreCutToTheBitmap)
{
    EditorState state(filled(64, 64, Qt::white));
    Annotation wide = framed(AnnotationKind::ellipse, {-1e7, -1e7, 2e7, 2e7});
    wide.fillColor = RGBAColor{0, 0, 1, 1};
    wide.lineWidth = 1e5;
    wide.opacity = 0.5;
    Annotation longArrow(AnnotationKind::arrow);
    longArrow.points = {{-1e6, 30}, {1e6, 30}};
    longArrow.lineWidth = 50;
    longArrow.opacity = 0.5;
    state.annotations = {wide, longArrow};
    const std::optional<QImage> out = Renderer::makeImage(state);
    ASSERT_TRUE(out.has_value());
    EXPECT_EQ(out->size(), QSize(64, 64));
}
