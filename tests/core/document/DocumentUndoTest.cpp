#include "DocumentFixture.h"

#include "core/document/UndoActionNames.h"

#include <QFile>

using namespace lumivex;
using lumivex::test::DocumentFixture;

namespace {

CanvasPadding paddingOf(double amount) { return CanvasPadding{true, amount, RGBAColor::white}; }

void moveBy(EditorState& state, const QUuid& id, Vector by)
{
    for (Annotation& a : state.annotations)
        if (a.id == id)
            a.translate(by);
}

} // namespace

using DocumentUndoTest = DocumentFixture;

TEST_F(DocumentUndoTest, ChangesLessThanASecondApartFormOneSlidingStep)
{
    document->setPadding(paddingOf(10));
    advanceSeconds(0.6);
    document->setPadding(paddingOf(20));
    advanceSeconds(0.6); // 1.2 s after the first change, 0.6 s after the previous one
    document->setPadding(paddingOf(30));
    EXPECT_EQ(undoSteps(), 1u);
    EXPECT_EQ(document->undoActionName(), QString::fromUtf8("여백 변경"));

    advanceSeconds(1.5);
    document->setPadding(paddingOf(40));
    EXPECT_EQ(undoSteps(), 2u);

    document->undo();
    EXPECT_EQ(document->padding().amount, 30);
    document->undo();
    EXPECT_EQ(document->padding(), CanvasPadding{});
    document->redo();
    EXPECT_EQ(document->padding().amount, 30);
}

TEST_F(DocumentUndoTest, StyleBurstsCoalescePerObject)
{
    const QUuid a = addRectangle({0, 0, 100, 100});
    const QUuid b = addRectangle({200, 0, 100, 100});
    const std::size_t steps = undoSteps();
    const auto setLineWidth = [&](double width) {
        ToolStyle style = document->style();
        style.lineWidth = width;
        document->setStyle(style);
    };

    document->select(a);
    for (double width : {5.0, 6.0, 7.0}) {
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
    EXPECT_FALSE(document->canRedo()); // a new step clears redo
    EXPECT_EQ(document->undoActionName(), QString::fromUtf8("스타일 변경"));

    // Size cycling follows the same road: one more coalesced change of the same object.
    document->cycleSizeLevel();
    EXPECT_EQ(document->annotation(b)->lineWidth, 4);
    EXPECT_EQ(undoSteps(), steps + 2);
    document->undo();
    EXPECT_EQ(document->annotation(b)->lineWidth, 4.0); // as added
    EXPECT_EQ(document->annotation(a)->lineWidth, 7);
}

TEST_F(DocumentUndoTest, AChangeThatChangesNothingKeepsRedoAndTheWindow)
{
    document->setPadding(paddingOf(10));
    advanceSeconds(0.5);
    document->setPadding(paddingOf(10));
    advanceSeconds(0.4);
    document->setPadding(paddingOf(20)); // still within a second of the first real change
    EXPECT_EQ(undoSteps(), 1u);

    document->setRatio(CanvasRatio::fixed(4, 3));
    document->undo();
    ASSERT_TRUE(document->canRedo());
    document->perform(UndoActionNames::move(), [](EditorState&) {});
    document->setPadding(paddingOf(20));
    EXPECT_TRUE(document->canRedo());
    EXPECT_EQ(document->redoActionName(), QString::fromUtf8("비율 변경"));
}

TEST_F(DocumentUndoTest, DrawingIsOneStepAndUndoRepairsTheSelection)
{
    Annotation drawn = document->makeAnnotation(AnnotationKind::rectangle);
    document->beginInteraction();
    document->addTransient(drawn);
    document->modify(drawn.id, [](Annotation& a) { a.frame = {10, 10, 80, 40}; });
    EXPECT_EQ(undoSteps(), 0u);
    document->endInteraction(UndoActionNames::add());
    EXPECT_EQ(undoSteps(), 1u);
    EXPECT_EQ(document->selection(), drawn.id);

    document->undo();
    EXPECT_TRUE(document->state().annotations.empty());
    EXPECT_FALSE(document->selection());
    EXPECT_EQ(document->redoActionName(), QString::fromUtf8("추가"));
    document->redo();
    EXPECT_EQ(document->state().annotations.at(0).frame, (Rect{10, 10, 80, 40}));
    EXPECT_FALSE(document->selection());
}

TEST_F(DocumentUndoTest, InteractionsThatEndWhereTheyBeganRecordNothing)
{
    const QUuid id = addRectangle({10, 10, 20, 20});
    document->endInteraction(UndoActionNames::move());
    document->cancelInteraction();

    document->beginInteraction(); // released where it started
    document->modify(id, [](Annotation& a) { a.translate({30, 0}); });
    document->modify(id, [](Annotation& a) { a.translate({-30, 0}); });
    document->endInteraction(UndoActionNames::move());
    EXPECT_EQ(undoSteps(), 1u);

    document->beginInteraction();
    document->modify(id, [](Annotation& a) { a.translate({5, 5}); });
    document->beginInteraction(); // replaces the snapshot
    document->modify(id, [](Annotation& a) { a.translate({5, 5}); });
    Annotation transient(AnnotationKind::ellipse);
    document->addTransient(transient);
    EXPECT_FALSE(document->canUndo()); // history waits until the interaction is over
    document->undo();
    EXPECT_EQ(document->state().annotations.size(), 2u);

    document->cancelInteraction();
    EXPECT_EQ(document->annotation(id)->frame, (Rect{15, 15, 20, 20}));
    EXPECT_FALSE(document->annotation(transient.id));
    EXPECT_FALSE(document->selection()); // the transient was selected and is gone
    EXPECT_EQ(undoSteps(), 1u);
    document->undo(); // undoes the step before: the rectangle goes
    EXPECT_TRUE(document->state().annotations.empty());
}

TEST_F(DocumentUndoTest, UndoAndRedoKeepTheNameAndBendFollowsTheCanvas)
{
    Annotation arrow = document->makeAnnotation(AnnotationKind::arrow);
    arrow.points = {{10, 10}, {200, 50}};
    document->add(arrow);
    document->beginInteraction();
    document->modify(arrow.id, [](Annotation& a) { a.arrowBend = 0.5; });
    document->endInteraction(UndoActionNames::bendArrow());
    // The inspector follows the bend; the read-back does not flow into the object or the history.
    EXPECT_EQ(document->style().arrowBend, 0.5);
    EXPECT_EQ(undoSteps(), 2u);

    document->beginInteraction();
    document->modify(arrow.id, [](Annotation& a) { a.translate({1, 1}); });
    document->endInteraction(UndoActionNames::rotate());
    const QString rotate = QString::fromUtf8("회전");
    EXPECT_EQ(document->undoActionName(), rotate);
    document->undo();
    EXPECT_EQ(document->redoActionName(), rotate);
    document->redo();
    EXPECT_EQ(document->undoActionName(), rotate);
    document->undo();
    document->undo();
    EXPECT_EQ(document->style().arrowBend, 0); // read back again after undo
}

namespace {

long residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLong() * 4096 : 0;
}

} // namespace

TEST_F(DocumentUndoTest, SnapshotsShareOnePixelBuffer)
{
    open(5120, 2880, QImage::Format_ARGB32_Premultiplied);
    const QUuid id = addRectangle({0, 0, 100, 100});
    const uchar* pixels = document->state().image.constBits();
    const qint64 key = document->state().image.cacheKey();
    const long residentBefore = residentBytes();

    for (int i = 0; i < 1000; ++i)
        document->perform(UndoActionNames::move(), [&](EditorState& state) { moveBy(state, id, {1, 0}); });
    for (int i = 0; i < 500; ++i)
        document->undo();

    ASSERT_EQ(undoSteps(), 501u);
    for (const auto* steps : {&document->undoStack().undoSteps(), &document->undoStack().redoSteps()}) {
        for (const UndoStack::Step& step : *steps) {
            ASSERT_EQ(step.snapshot.image.constBits(), pixels);
            ASSERT_EQ(step.snapshot.image.cacheKey(), key);
        }
    }
    EXPECT_EQ(document->state().image.constBits(), pixels);
    EXPECT_EQ(document->annotation(id)->frame.x, 500);
    // One copy of the pixels would be 59 MB; a thousand snapshots of one annotation are far below that.
    EXPECT_LT(residentBytes() - residentBefore, 20L * 1024 * 1024);
}
