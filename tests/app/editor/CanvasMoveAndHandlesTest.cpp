// Moving objects and dragging their handles: exactly one named step per drag, none for a click.
#include "CanvasFixture.h"

#include <numbers>

namespace lumivex::test {
namespace {

using MoveObject = CanvasFixture;

TEST_F(MoveObject, DragMovesAsOneStepAndClickOrDragBackRecordsNothing)
{
    const Annotation box = place(rectangleAt(Rect(100, 100, 200, 100), true));
    const std::size_t before = undoCount();
    click({150, 150});
    EXPECT_EQ(doc().selection(), box.id);
    press({150, 150});
    moveTo({250, 250});
    moveTo({150, 150});
    release({150, 150});
    EXPECT_EQ(onlyAnnotation(), box);
    EXPECT_EQ(undoCount(), before);
    EXPECT_FALSE(doc().isInteracting());

    dragFrom({150, 150}, {200, 180});
    EXPECT_EQ(onlyAnnotation().frame, box.frame.translated({50, 30}));
    EXPECT_EQ(undoCount(), before + 1);
    EXPECT_EQ(lastUndoName(), QStringLiteral("이동"));
}

struct HandleCase {
    const char* name;
    Annotation annotation;
    Point grab, to;
    QString undoName;
    std::function<void(const Annotation&)> check;
};

HandleCase handleCase(int i)
{
    const Annotation text = textAt({300, 300}, QStringLiteral("Hello"));
    const Point rightEdge(text.frame.maxX(), text.frame.midY());
    const HandleCase cases[] = {
        {"corner", rectangleAt(Rect(200, 200, 200, 100)), {400, 300}, {450, 350}, QStringLiteral("크기 조절"),
         [](const Annotation& a) { EXPECT_EQ(a.frame, Rect(200, 200, 250, 150)); }},
        {"point", arrowFrom({100, 100}, {300, 100}), {300, 100}, {300, 200}, QStringLiteral("점 이동"),
         [](const Annotation& a) { EXPECT_EQ(a.points.at(1), Point(300, 200)); }},
        {"edge", text, rightEdge, rightEdge + Vector(40, 0), QStringLiteral("글자 상자 크기"),
         [](const Annotation& a) { EXPECT_NEAR(a.textExtraSize.width, 40, 1e-9); }},
        // The knob sits 26 view points above the top edge; straight right of the centre is a quarter turn.
        {"rotate", rectangleAt(Rect(200, 200, 200, 100)), {300, 174}, {450, 250}, QStringLiteral("회전"),
         [](const Annotation& a) { EXPECT_NEAR(a.rotation, std::numbers::pi / 2, 1e-9); }},
        {"bend", arrowFrom({100, 100}, {300, 100}), {200, 100}, {200, 130}, QStringLiteral("화살표 휘기"),
         [](const Annotation& a) { EXPECT_NEAR(a.arrowBend, 0.3, 1e-9); }},
    };
    return cases[i];
}

class DragHandle : public CanvasFixture, public ::testing::WithParamInterface<int> {};

TEST_P(DragHandle, ClickChangesNothingAndADragIsOneNamedStep)
{
    const HandleCase c = handleCase(GetParam());
    const Annotation placed = place(c.annotation);
    doc().select(placed.id);
    const std::size_t before = undoCount();
    click(c.grab);
    EXPECT_EQ(onlyAnnotation(), placed);
    EXPECT_EQ(undoCount(), before);
    EXPECT_EQ(doc().selection(), placed.id);

    dragFrom(c.grab, c.to);
    c.check(onlyAnnotation());
    EXPECT_EQ(undoCount(), before + 1);
    EXPECT_EQ(lastUndoName(), c.undoName);
    doc().undo();
    EXPECT_EQ(onlyAnnotation(), placed);
}

INSTANTIATE_TEST_SUITE_P(Canvas, DragHandle, ::testing::Range(0, 5),
                         [](const auto& info) { return std::string(handleCase(info.param).name); });

TEST_F(MoveObject, ShiftSnapsTheRotationToFifteenDegrees)
{
    doc().select(place(rectangleAt(Rect(200, 200, 200, 100))).id);
    dragFrom({300, 174}, {450, 282}, Qt::ShiftModifier); // 12 degrees below straight right
    EXPECT_NEAR(onlyAnnotation().rotation, std::numbers::pi / 2 + std::numbers::pi / 12, 1e-9);
}

} // namespace
} // namespace lumivex::test
