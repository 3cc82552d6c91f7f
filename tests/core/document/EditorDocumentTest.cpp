#include "DocumentFixture.h"

#include "core/model/StickerImage.h"

#include <QStringList>

#include <limits>

using namespace lumivex;
using lumivex::test::DocumentFixture;

TEST(EditorDocumentUnit, IsTheLongerSideInThousandsButNeverBelowOne)
{
    EXPECT_EQ(EditorDocument::unitForImageSize({4000, 3000}), 4);
    EXPECT_EQ(EditorDocument::unitForImageSize({800, 600}), 1);
    EXPECT_EQ(EditorDocument::unitForImageSize({1500, 5120}), 5.12);
    const EditorDocument opened(LoadedImage{QImage(4000, 3000, QImage::Format_Mono), 2, "capture"});
    EXPECT_EQ(opened.unit(), 4);
}

using EditorDocumentTest = DocumentFixture;

TEST_F(EditorDocumentTest, SelectionShowsTheObjectsStyleAndADrawingToolRestoresItsDefaults)
{
    Annotation filled(AnnotationKind::rectangle); // as drawn by the filled rectangle tool
    filled.frame = {10, 10, 50, 50};
    filled.fillColor = RGBAColor::red;
    filled.lineWidth = 0;
    document->add(filled);
    const QUuid id = filled.id;
    document->select(std::nullopt);
    ToolStyle plain = document->style();
    plain.fillEnabled = false;
    plain.fillColor = RGBAColor::black;
    plain.lineWidth = 4;
    document->setStyle(plain);

    document->select(id);
    EXPECT_TRUE(document->style().fillEnabled);
    EXPECT_EQ(document->style().fillColor, RGBAColor::red);
    EXPECT_EQ(document->style().lineWidth, 0);
    EXPECT_TRUE(document->styleSyncedFromSelection());
    // Reading the style back never restyles the object or records anything.
    EXPECT_EQ(*document->annotation(id), filled);
    EXPECT_EQ(undoSteps(), 1u);

    const ToolStyle shown = document->style();
    document->select(QUuid::createUuid()); // an unknown id deselects and keeps the style
    EXPECT_FALSE(document->selection());
    EXPECT_EQ(document->style(), shown);

    document->setTool(Tool::rectangle);
    EXPECT_FALSE(document->style().fillEnabled);
    EXPECT_EQ(document->style().lineWidth, 4.0);
    EXPECT_EQ(document->style().fillColor, RGBAColor::red); // switching fill back on restores it
    EXPECT_EQ(document->annotation(id)->lineWidth, 0);

    // A fill chosen while the object just drawn is selected carries over to the next one of the same tool.
    document->add(document->makeAnnotation(AnnotationKind::rectangle));
    ToolStyle filledStyle = document->style();
    filledStyle.fillEnabled = true;
    document->setStyle(filledStyle);
    EXPECT_TRUE(document->selectedAnnotation()->fillColor);
    document->prepareForCreation();
    EXPECT_TRUE(document->style().fillEnabled);
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
    EXPECT_EQ(seen, (QStringList{"tool:crop", "selection:crop", "draft:crop"}));
    EXPECT_EQ(document->cropDraft(), (Rect{0, 0, 800, 600}));
    document->setTool(Tool::crop); // no change, no handling
    EXPECT_EQ(seen.size(), 3);
}

TEST_F(EditorDocumentTest, StickersCascadeFromTheCentreAndTheSeventhReturns)
{
    open(2000, 1000); // unit 2
    document->setTool(Tool::arrow);
    std::vector<Rect> frames;
    for (int i = 0; i < 7; ++i) {
        document->addSticker(StickerSource::emoji(QStringLiteral("🙂")));
        frames.push_back(document->selectedAnnotation()->frame);
    }
    EXPECT_EQ(document->tool(), Tool::select);
    const auto expectCentre = [](const Rect& frame, Point expected) {
        EXPECT_NEAR(frame.center().x, expected.x, 1e-9);
        EXPECT_NEAR(frame.center().y, expected.y, 1e-9);
    };
    expectCentre(frames[0], {1000, 500});
    expectCentre(frames[1], {1036, 536}); // 18 style points at unit 2
    expectCentre(frames[5], {1180, 680});
    EXPECT_EQ(frames[6], frames[0]);
    EXPECT_EQ(undoSteps(), 7u);
    EXPECT_EQ(document->undoActionName(), QString::fromUtf8("추가"));
}

TEST_F(EditorDocumentTest, StickerSizeFollowsTheAspectWithinOneToTwenty)
{
    struct Case {
        int width, height;
        Size expected;
    };
    for (const Case& c : {Case{50, 100, {55, 110}}, Case{1, 100, {5.5, 110}}, Case{300, 150, {110, 55}},
                          Case{100, 1, {110, 5.5}}, Case{10, 10, {110, 110}}}) {
        document->addSticker(StickerSource::image(StickerImage::make(QImage(c.width, c.height, QImage::Format_ARGB32), "s")));
        EXPECT_EQ(document->selectedAnnotation()->frame.size(), c.expected) << c.width << "x" << c.height;
    }
}

TEST_F(EditorDocumentTest, CropCommands)
{
    document->setTool(Tool::crop);
    ASSERT_EQ(document->cropDraft(), (Rect{0, 0, 800, 600}));
    document->applyCrop(); // the whole image is no crop
    EXPECT_FALSE(document->state().cropRect);
    EXPECT_EQ(undoSteps(), 0u);
    EXPECT_EQ(document->tool(), Tool::select);
    EXPECT_FALSE(document->cropDraft());

    document->setTool(Tool::crop);
    document->setCropDraft(Rect{900, 10, 50, 50}); // outside the image: crop mode stays
    document->applyCrop();
    EXPECT_EQ(document->tool(), Tool::crop);

    document->setCropDraft(Rect{10.4, 10.6, 99.2, 50.1});
    document->applyCrop();
    EXPECT_EQ(document->state().cropRect, (Rect{10, 10, 100, 51}));
    EXPECT_EQ(document->undoActionName(), QString::fromUtf8("자르기"));
    EXPECT_EQ(document->tool(), Tool::select);

    // In crop mode the canvas shows the whole image; the draft starts from the current crop.
    document->setPadding(CanvasPadding{true, 20, RGBAColor::black});
    document->setTool(Tool::crop);
    EXPECT_EQ(document->cropDraft(), (Rect{10, 10, 100, 51}));
    EXPECT_FALSE(document->displayState().cropRect);
    EXPECT_EQ(document->displayState().padding, CanvasPadding{});
    document->cancelCrop();
    EXPECT_EQ(document->state().cropRect, (Rect{10, 10, 100, 51}));
    EXPECT_EQ(document->displayState().padding.amount, 20);

    document->setTool(Tool::crop);
    document->resetCrop();
    EXPECT_FALSE(document->state().cropRect);
    EXPECT_EQ(document->cropDraft(), (Rect{0, 0, 800, 600}));
    EXPECT_EQ(document->tool(), Tool::crop);
    EXPECT_EQ(document->undoActionName(), QString::fromUtf8("자르기 해제"));
}

TEST_F(EditorDocumentTest, StackingOrderChangesOnlyWhenTheOrderChanges)
{
    const QUuid bottom = addRectangle({0, 0, 10, 10}, RGBAColor::black);
    const QUuid top = addRectangle({5, 5, 10, 10}, RGBAColor::black);
    const std::size_t steps = undoSteps();
    document->bringToFront(); // the new one is already on top
    EXPECT_EQ(undoSteps(), steps);

    document->sendToBack();
    EXPECT_EQ(document->state().annotations.front().id, top);
    EXPECT_EQ(document->undoActionName(), QString::fromUtf8("맨 뒤로"));
    EXPECT_EQ(document->hitTest({7, 7}, 0)->id, bottom);
}

TEST_F(EditorDocumentTest, BadInputIsRefusedOrClamped)
{
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    constexpr double inf = std::numeric_limits<double>::infinity();
    Annotation text = document->makeAnnotation(AnnotationKind::text);
    text.text = QStringLiteral("Lumivex");
    text.refreshTextFrame(false);
    document->add(text);
    const EditorState before = document->state();
    const ToolStyle style = document->style();

    document->setPadding(CanvasPadding{true, nan, RGBAColor::white});
    document->setRatio(CanvasRatio::fixed(inf, 1));
    ToolStyle broken = style;
    broken.fontSize = nan;
    document->setStyle(broken);
    document->setSelectedTextExtra({inf, 0});
    document->setTool(Tool::crop);
    document->setCropDraft(Rect{nan, nan, 10, 10});
    document->applyCrop();
    EXPECT_FALSE(document->hitTest({nan, nan}, 3));
    EXPECT_TRUE(document->state().hasSameContent(before));
    EXPECT_EQ(undoSteps(), 1u);
    EXPECT_EQ(document->style().fontSize, style.fontSize);

    // Negative extra room is clamped to none; the box grows around its centre.
    document->setTool(Tool::select);
    document->select(text.id);
    document->setSelectedTextExtra({-5, 12});
    const Annotation grown = *document->selectedAnnotation();
    EXPECT_EQ(grown.textExtraSize, (Size{0, 12}));
    EXPECT_EQ(grown.frame.size(), (Size{text.frame.width, text.frame.height + 12}));
    EXPECT_EQ(grown.frame.center(), text.frame.center());
    EXPECT_EQ(document->undoActionName(), QString::fromUtf8("글자 상자 크기"));
}
