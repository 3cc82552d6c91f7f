#include "DocumentFixture.h"

#include "core/document/UndoActionNames.h"

using namespace lumivex;

namespace {
CanvasPadding paddingOf(double amount) { return CanvasPadding{true, amount, RGBAColor::white}; }
} // namespace

using DocumentUndoTest = lumivex::test::DocumentFixture;

TEST_F(DocumentUndoTest, ChangesLessThanASecondApartFormOneSlidingStep)
{
    document->setPadding(paddingOf(10));
    advanceSeconds(0.6);
    document->setPadding(paddingOf(20));
    advanceSeconds(0.6); // 1.2 s after the first change, 0.6 s after the previous one
    document->setPadding(paddingOf(30));
    EXPECT_EQ(undoSteps(), 1u);
    advanceSeconds(1.5);
    document->setPadding(paddingOf(40));
    EXPECT_EQ(undoSteps(), 2u);

    document->undo();
    EXPECT_EQ(document->padding().amount, 30);
    document->undo();
    EXPECT_EQ(document->padding(), CanvasPadding{});
}

TEST_F(DocumentUndoTest, StyleBurstsCoalescePerObjectUntilUndo)
{
    const QUuid a = addRectangle({0, 0, 100, 100});
    const QUuid b = addRectangle({200, 0, 100, 100});
    const std::size_t steps = undoSteps();
    document->select(a);
    for (double width : {5.0, 6.0, 7.0}) { // a burst of slider changes
        setLineWidth(width);
        advanceSeconds(0.9);
    }
    EXPECT_EQ(undoSteps(), steps + 1);
    EXPECT_EQ(document->annotation(a)->lineWidth, 7);

    document->select(b); // another key starts a new step at once
    setLineWidth(2);
    EXPECT_EQ(undoSteps(), steps + 2);
    document->undo(); // ... and undo ends the window
    advanceSeconds(0.1);
    setLineWidth(3);
    EXPECT_EQ(undoSteps(), steps + 2);
    EXPECT_FALSE(document->canRedo());
    EXPECT_EQ(document->undoActionName(), QString::fromUtf8("스타일 변경"));
}

TEST_F(DocumentUndoTest, AChangeThatChangesNothingRecordsNothingAndKeepsRedo)
{
    document->setPadding(paddingOf(10));
    advanceSeconds(0.5);
    document->setPadding(paddingOf(10));
    advanceSeconds(0.4);
    document->setPadding(paddingOf(20)); // still within a second of the first real change
    EXPECT_EQ(undoSteps(), 1u);

    document->setRatio(CanvasRatio::fixed(4, 3));
    document->undo();
    document->perform(UndoActionNames::move(), [](EditorState&) {});
    document->setPadding(paddingOf(20));
    EXPECT_EQ(undoSteps(), 1u);
    EXPECT_TRUE(document->canRedo());
    EXPECT_EQ(document->redoActionName(), QString::fromUtf8("비율 변경"));

    // A drag released where it started is no step either.
    const QUuid id = addRectangle({10, 10, 20, 20});
    document->beginInteraction();
    document->modify(id, [](Annotation& a) { a.translate({30, 0}); });
    document->modify(id, [](Annotation& a) { a.translate({-30, 0}); });
    document->endInteraction(UndoActionNames::move());
    EXPECT_EQ(undoSteps(), 2u);
}

TEST_F(DocumentUndoTest, DrawingIsOneStepUndoRepairsTheSelectionAndNamesStay)
{
    Annotation drawn = document->makeAnnotation(AnnotationKind::rectangle);
    document->beginInteraction();
    document->addTransient(drawn);
    document->modify(drawn.id, [](Annotation& a) { a.frame = {10, 10, 80, 40}; });
    EXPECT_FALSE(document->canUndo()); // history waits until the interaction is over
    document->endInteraction(UndoActionNames::add());
    EXPECT_EQ(undoSteps(), 1u);
    EXPECT_EQ(document->selection(), drawn.id);

    document->undo();
    EXPECT_TRUE(document->state().annotations.empty());
    EXPECT_FALSE(document->selection());
    const QString add = QString::fromUtf8("추가");
    EXPECT_EQ(document->redoActionName(), add);
    document->redo();
    EXPECT_EQ(document->undoActionName(), add);
    EXPECT_EQ(document->state().annotations.at(0).frame, (Rect{10, 10, 80, 40}));

    // Cancelling drops a transient and its selection.
    Annotation transient(AnnotationKind::ellipse);
    document->beginInteraction();
    document->addTransient(transient);
    document->cancelInteraction();
    EXPECT_FALSE(document->annotation(transient.id));
    EXPECT_FALSE(document->selection());
    EXPECT_EQ(undoSteps(), 1u);
}

TEST_F(DocumentUndoTest, EveryChangeDuringAnInteractionFoldsIntoItsOneStep)
{
    // Any caller (an inspector, a menu, a key) may change the document while a drag is open; none of those
    // changes may become a step of its own, or undo would walk through states that were never committed.
    const QUuid kept = addRectangle({300, 300, 20, 20});
    const QUuid dragged = addRectangle({10, 10, 20, 20});
    const EditorState before = document->state();
    const std::size_t steps = undoSteps();
    document->beginInteraction();
    document->modify(dragged, [](Annotation& a) { a.translate({30, 0}); });
    ToolStyle recoloured = document->style();
    recoloured.strokeColor = RGBAColor::white;
    document->setStyle(recoloured); // coalesced door
    document->setPadding(paddingOf(12));
    document->deleteSelected(); // one-shot door
    document->setRatio(CanvasRatio::fixed(1, 1));
    document->endInteraction(UndoActionNames::move());
    EXPECT_EQ(undoSteps(), steps + 1);
    EXPECT_EQ(document->undoActionName(), UndoActionNames::move());
    const EditorState after = document->state();
    EXPECT_FALSE(document->annotation(dragged));

    document->undo();
    EXPECT_TRUE(document->state().hasSameContent(before));
    document->redo();
    EXPECT_TRUE(document->state().hasSameContent(after));
    EXPECT_TRUE(document->annotation(kept));

    // A coalesced change right after the interaction starts a step of its own.
    document->setPadding(paddingOf(14));
    EXPECT_EQ(undoSteps(), steps + 2);
}

TEST_F(DocumentUndoTest, AThousandSnapshotsShareOnePixelBuffer)
{
    open(5120, 2880, QImage::Format_ARGB32_Premultiplied);
    const QUuid id = addRectangle({0, 0, 100, 100});
    const qint64 key = document->state().image.cacheKey();
    const uchar* pixels = document->state().image.constBits();
    for (int i = 0; i < 1000; ++i)
        document->perform(UndoActionNames::move(), [&](EditorState& state) {
            for (Annotation& a : state.annotations)
                if (a.id == id)
                    a.translate({1, 0});
        });
    for (int i = 0; i < 500; ++i)
        document->undo();

    ASSERT_EQ(undoSteps(), 501u);
    for (const auto* steps : {&document->undoStack().undoSteps(), &document->undoStack().redoSteps()})
        for (const UndoStack::Step& step : *steps) {
            ASSERT_EQ(step.snapshot.image.constBits(), pixels);
            ASSERT_EQ(step.snapshot.image.cacheKey(), key);
        }
    EXPECT_EQ(document->state().image.constBits(), pixels);
    EXPECT_EQ(document->annotation(id)->frame.x, 500);
}
