#include "DocumentFixture.h"
#include "core/document/UndoActionNames.h"
#include "core/model/FaceCover.h"

#include <QImage>

#include <algorithm>
#include <cmath>

using namespace lumivex;

namespace {

StickerSource imageSticker(int width, int height)
{
    return StickerSource::image(StickerImage::make(QImage(width, height, QImage::Format_ARGB32_Premultiplied), "s"));
}

void expectNear(const Rect& actual, const Rect& expected)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-9);
    EXPECT_NEAR(actual.y, expected.y, 1e-9);
    EXPECT_NEAR(actual.width, expected.width, 1e-9);
    EXPECT_NEAR(actual.height, expected.height, 1e-9);
}

TEST(FaceCoverSticker, GrowsToCoverTheFaceInItsOwnProportions)
{
    struct Case {
        StickerSource source;
        Rect face;
        Rect frame;
    };
    const Case cases[] = {
        // Wide (2:1) over 100 x 100: base 150 x 75, k = 115 / 75.
        {imageSticker(300, 150), {50, 50, 100, 100}, {-15, 42.5, 230, 115}},
        // Tall (1:2): base 75 x 150, k = 115 / 75.
        {imageSticker(100, 200), {0, 0, 100, 100}, {-7.5, -65, 115, 230}},
        // 1:100 is treated as 1:20: base 7.5 x 150, k = 115 / 7.5.
        {imageSticker(1, 100), {0, 0, 100, 100}, {-7.5, -1100, 115, 2300}},
        // Square over a wide face: 1.5 x 200 already covers 115 % both ways, so k = 1.
        {imageSticker(10, 10), {0, 0, 200, 100}, {-50, -100, 300, 300}},
    };
    for (const Case& c : cases) {
        const Annotation sticker = FaceCover::stickerAnnotation(c.source, c.face);
        EXPECT_EQ(sticker.kind, AnnotationKind::sticker);
        EXPECT_EQ(sticker.sticker, c.source);
        expectNear(sticker.frame, c.frame);
        Annotation expected(AnnotationKind::sticker); // every other field keeps its initial value
        expected.id = sticker.id;
        expected.frame = sticker.frame;
        expected.sticker = sticker.sticker;
        EXPECT_EQ(sticker, expected);
    }
}

TEST(FaceCoverRandomPicks, UseEveryStickerPerRoundAndNeverRepeatAcrossRounds)
{
    const std::vector<StickerSource> pool{StickerSource::emoji("🐶"), StickerSource::emoji("🐱"), StickerSource::emoji("🐭")};
    for (quint32 seed = 0; seed < 300; ++seed) {
        QRandomGenerator random(seed);
        const auto picks = FaceCover::randomPicks(7, pool, random);
        ASSERT_EQ(picks.size(), 7u);
        for (const StickerSource& sticker : pool)
            EXPECT_GE(std::count(picks.begin(), picks.end(), sticker), 2);
        for (size_t i = 1; i < picks.size(); ++i)
            EXPECT_FALSE(picks[i] == picks[i - 1]) << "seed " << seed << " position " << i;
    }
    QRandomGenerator random(1);
    EXPECT_EQ(FaceCover::randomPicks(3, {pool[0]}, random), (std::vector<StickerSource>(3, pool[0])));
    EXPECT_TRUE(FaceCover::randomPicks(5, {}, random).empty());
}

class DocumentCoverTest : public test::DocumentFixture {
protected:
    const std::vector<Rect> faces{{100, 100, 40, 40}, {300, 120, 80, 60}, {500, 50, 20, 20}};
};

TEST_F(DocumentCoverTest, CoversAllFacesAsOneUndoStep)
{
    const QUuid existing = addRectangle({0, 0, 10, 10});
    document->select(existing);
    const std::size_t stepsBefore = undoSteps();

    document->cover(faces, FaceCover::sticker(StickerSource::emoji("😀")));
    const auto& annotations = document->state().annotations;
    ASSERT_EQ(annotations.size(), 4u);
    EXPECT_EQ(annotations.front().id, existing); // the covers go on top, in face order
    for (size_t i = 0; i < faces.size(); ++i)
        EXPECT_EQ(annotations[i + 1].frame.center(), faces[i].center());
    EXPECT_FALSE(document->selection().has_value());
    EXPECT_EQ(undoSteps(), stepsBefore + 1);
    EXPECT_EQ(document->undoActionName(), UndoActionNames::coverFaces());
    EXPECT_EQ(document->undoActionName(), QString::fromUtf8("얼굴 가리기"));

    document->undo();
    ASSERT_EQ(document->state().annotations.size(), 1u);
    document->redo();
    EXPECT_EQ(document->state().annotations.size(), 4u);
}

TEST_F(DocumentCoverTest, NothingToCoverChangesNothing)
{
    const std::size_t stepsBefore = undoSteps();
    document->cover(faces, FaceCover::randomStickers({}));
    document->cover({}, FaceCover::blur(BlurStyle::gaussian));
    document->cover({{10, 10, 0, 30}, {0, 0, std::nan(""), 5}}, FaceCover::filledEllipse());
    EXPECT_TRUE(document->state().annotations.empty());
    EXPECT_EQ(undoSteps(), stepsBefore);
}

TEST_F(DocumentCoverTest, BlurAndEllipseCoversTakeTheDocumentStyle)
{
    open(3000, 1000); // unit 3
    ToolStyle style = document->style();
    style.opacity = 0.5;
    style.blurAmount = 10; // 30 pixels at unit 3
    style.fillEnabled = false;
    style.fillColor = RGBAColor{0.1, 0.2, 0.3, 1};
    document->setStyle(style);

    document->cover({{100, 100, 80, 40}, {1000, 100, 400, 400}}, FaceCover::blur(BlurStyle::pixelate));
    const auto& blurs = document->state().annotations;
    ASSERT_EQ(blurs.size(), 2u);
    EXPECT_EQ(blurs[0].kind, AnnotationKind::blur);
    EXPECT_EQ(blurs[0].blurStyle, BlurStyle::pixelate);
    EXPECT_EQ(blurs[0].frame, (Rect{90, 95, 100, 50}));
    EXPECT_EQ(blurs[0].cornerRadius, 25);
    EXPECT_EQ(blurs[0].opacity, 0.5);
    EXPECT_EQ(blurs[0].blurAmount, 30);            // the style's amount beats 100 x 0.125
    EXPECT_EQ(blurs[1].blurAmount, 500 * 0.125);   // a big face gets a stronger blur

    document->cover({{100, 100, 100, 60}}, FaceCover::filledEllipse());
    const Annotation& ellipse = document->state().annotations.back();
    EXPECT_EQ(ellipse.kind, AnnotationKind::ellipse);
    EXPECT_EQ(ellipse.fillColor, style.fillColor); // filled although the style's fill is off
    EXPECT_EQ(ellipse.lineWidth, 0);
    EXPECT_EQ(ellipse.opacity, 0.5);
    expectNear(ellipse.frame, {77.5, 86.5, 145, 87});
}

} // namespace
