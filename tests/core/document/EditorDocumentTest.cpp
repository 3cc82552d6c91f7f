#include "DocumentFixture.h"

#include "core/model/StickerImage.h"

#include <QStringList>

#include <limits>

using namespace lumivex;

TEST(EditorDocumentUnit, IsTheLongerSideInThousandsButNeverBelowOne)
{
    EXPECT_EQ(EditorDocument::unitForImageSize({800, 600}), 1);
    EXPECT_EQ(EditorDocument::unitForImageSize({1500, 5120}), 5.12);
    EXPECT_EQ(EditorDocument(LoadedImage{QImage(4000, 3000, QImage::Format_Mono), 2, "capture"}).unit(), 4);
}

using EditorDocumentTest = lumivex::test::DocumentFixture;

TEST_F(EditorDocumentTest, SelectionShowsTheObjectsStyleAndADrawingToolRestoresItsDefaults)
{
    Annotation filled(AnnotationKind::rectangle); // as drawn by the filled rectangle tool
    filled.frame = {10, 10, 50, 50};
    filled.fillColor = RGBAColor::red;
    filled.lineWidth = 0;
    document->add(filled);
    document->select(std::nullopt);
    ToolStyle plain = document->style();
    plain.fillEnabled = false;
    plain.fillColor = RGBAColor::black;
    plain.lineWidth = 4;
    document->setStyle(plain);

    document->select(filled.id);
    EXPECT_TRUE(document->style().fillEnabled);
    EXPECT_EQ(document->style().fillColor, RGBAColor::red);
    EXPECT_EQ(document->style().lineWidth, 0);
    EXPECT_EQ(*document->annotation(filled.id), filled); // reading the style back never restyles the object
    EXPECT_EQ(undoSteps(), 1u);

    document->setTool(Tool::rectangle);
    EXPECT_FALSE(document->style().fillEnabled);
    EXPECT_EQ(document->style().lineWidth, 4.0);
    EXPECT_EQ(document->style().fillColor, RGBAColor::red); // switching fill back on restores it
    EXPECT_EQ(document->annotation(filled.id)->lineWidth, 0);
}

TEST_F(EditorDocumentTest, ToolChangeHandlingSeesTheNewTool)
{
    addRectangle({0, 0, 10, 10});
    QStringList seen;
    const auto record = [&](const char* signal) {
        return [&, signal] { seen << QString("%1:%2").arg(signal, Tools::rawValue(document->tool())); };
    };
    QObject::connect(document.get(), &EditorDocument::toolChanged, record("tool"));
    QObject::connect(document.get(), &EditorDocument::selectionChanged, record("selection"));
    QObject::connect(document.get(), &EditorDocument::cropDraftChanged, record("draft"));
    document->setTool(Tool::crop);
    document->setTool(Tool::crop); // no change, no handling
    EXPECT_EQ(seen, (QStringList{"tool:crop", "selection:crop", "draft:crop"}));
}

TEST_F(EditorDocumentTest, StickersCascadeFromTheCentreAndAreSizedByTheirAspect)
{
    open(2000, 1000); // unit 2
    document->setTool(Tool::arrow);
    std::vector<Point> centres;
    for (int i = 0; i < 7; ++i) {
        document->addSticker(StickerSource::emoji(QStringLiteral("🙂")));
        centres.push_back(document->selectedAnnotation()->frame.center());
    }
    EXPECT_EQ(document->tool(), Tool::select);
    for (auto [index, expected] : {std::pair{0, Point{1000, 500}}, {1, {1036, 536}}, {5, {1180, 680}}, {6, {1000, 500}}}) {
        EXPECT_NEAR(centres[index].x, expected.x, 1e-9) << index; // 18 style points apart at unit 2
        EXPECT_NEAR(centres[index].y, expected.y, 1e-9) << index;
    }
    EXPECT_EQ(undoSteps(), 7u);

    open(800, 600);
    struct Case {
        int width, height;
        Size expected;
    };
    for (const Case& c : {Case{50, 100, {55, 110}}, Case{1, 100, {5.5, 110}}, Case{300, 150, {110, 55}},
                          Case{100, 1, {110, 5.5}}}) {
        document->addSticker(StickerSource::image(StickerImage::make(QImage(c.width, c.height, QImage::Format_ARGB32), "s")));
        EXPECT_EQ(document->selectedAnnotation()->frame.size(), c.expected) << c.width << "x" << c.height;
    }
}

TEST_F(EditorDocumentTest, CropRoundsEachEdgeAndShowsTheWholeImageWhileEditing)
{
    document->setTool(Tool::crop);
    EXPECT_EQ(document->cropDraft(), (Rect{0, 0, 800, 600}));
    document->applyCrop(); // the whole image is no crop
    EXPECT_FALSE(document->state().cropRect);
    EXPECT_EQ(undoSteps(), 0u);

    document->setTool(Tool::crop);
    document->setCropDraft(Rect{10.4, 10.6, 99.2, 50.1});
    document->applyCrop();
    EXPECT_EQ(document->state().cropRect, (Rect{10, 10, 100, 51}));
    EXPECT_EQ(document->tool(), Tool::select);

    document->setPadding(CanvasPadding{true, 20, RGBAColor::black});
    document->setTool(Tool::crop);
    EXPECT_EQ(document->cropDraft(), (Rect{10, 10, 100, 51}));
    EXPECT_FALSE(document->displayState().cropRect);
    EXPECT_EQ(document->displayState().padding, CanvasPadding{});
    document->cancelCrop();
    EXPECT_EQ(document->displayState().padding.amount, 20);
}

TEST_F(EditorDocumentTest, NonFiniteInputIsRefused)
{
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    constexpr double inf = std::numeric_limits<double>::infinity();
    addRectangle({10, 10, 50, 50});
    const EditorState before = document->state();
    const ToolStyle style = document->style();
    document->setPadding(CanvasPadding{true, nan, RGBAColor::white});
    document->setRatio(CanvasRatio::fixed(inf, 1));
    ToolStyle broken = style;
    broken.fontSize = nan;
    document->setStyle(broken);
    document->setTool(Tool::crop);
    document->setCropDraft(Rect{nan, nan, 10, 10});
    document->applyCrop();
    EXPECT_FALSE(document->hitTest({nan, nan}, 3));
    EXPECT_TRUE(document->state().hasSameContent(before));
    EXPECT_EQ(undoSteps(), 1u);
    EXPECT_EQ(document->style().fontSize, style.fontSize);
}
