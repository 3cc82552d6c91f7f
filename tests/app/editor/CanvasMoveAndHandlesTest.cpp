// Moving objects and dragging their handles: exactly one named step per drag, none for a click.
#include "CanvasFixture.h"

#include "core/model/Tool.h"

#include <numbers>

namespace lumivex::test {
namespace {

using MoveObject = CanvasFixture;

TEST_F(MoveObject, DragMovesByThePointerAsOneStep)
{
    const Annotation box = place(rectangleAt(Rect(100, 100, 200, 100), true));
    const std::size_t before = undoCount();
    dragFrom({150, 150}, {200, 180});
    EXPECT_EQ(onlyAnnotation().frame, box.frame.translated({50, 30}));
    EXPECT_EQ(doc().selection(), box.id);
    EXPECT_EQ(undoCount(), before + 1);
    EXPECT_EQ(lastUndoName(), QStringLiteral("이동"));
}

TEST_F(MoveObject, ClickOnlySelectsAndDragBackRecordsNothing)
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
}

struct HandleCase {
    const char* name;
    Annotation annotation;
    Point grab;
    Point to;
    QString undoName;
    std::function<void(const Annotation&)> check;
};

HandleCase cornerCase()
{
    return {"corner", rectangleAt(Rect(200, 200, 200, 100)), {400, 300}, {450, 350}, QStringLiteral("크기 조절"),
            [](const Annotation& a) { EXPECT_EQ(a.frame, Rect(200, 200, 250, 150)); }};
}

HandleCase pointCase()
{
    return {"point", arrowFrom({100, 100}, {300, 100}), {300, 100}, {300, 200}, QStringLiteral("점 이동"),
            [](const Annotation& a) { EXPECT_EQ(a.points.at(1), Point(300, 200)); }};
}

HandleCase edgeCase()
{
    Annotation text = textAt(Rect(300, 300, 10, 10), QStringLiteral("Hello"));
    const Point rightEdge(text.frame.maxX(), text.frame.midY());
    return {"edge", text, rightEdge, rightEdge + Vector(40, 0), QStringLiteral("글자 상자 크기"),
            [](const Annotation& a) { EXPECT_NEAR(a.textExtraSize.width, 40, 1e-9); }};
}

HandleCase rotateCase()
{
    // The knob sits 26 view points above the top edge; straight right of the centre is a quarter turn.
    return {"rotate", rectangleAt(Rect(200, 200, 200, 100)), {300, 174}, {450, 250}, QStringLiteral("회전"),
            [](const Annotation& a) { EXPECT_NEAR(a.rotation, std::numbers::pi / 2, 1e-9); }};
}

HandleCase bendCase()
{
    return {"bend", arrowFrom({100, 100}, {300, 100}), {200, 100}, {200, 130}, QStringLiteral("화살표 휘기"),
            [](const Annotation& a) { EXPECT_NEAR(a.arrowBend, 0.3, 1e-9); }};
}

class DragHandle : public CanvasFixture, public ::testing::WithParamInterface<HandleCase (*)()> {};

TEST_P(DragHandle, OneNamedStepPerDrag)
{
    const HandleCase c = GetParam()();
    const Annotation placed = place(c.annotation);
    doc().select(placed.id);
    const std::size_t before = undoCount();
    dragFrom(c.grab, c.to);
    SCOPED_TRACE(c.name);
    ASSERT_EQ(annotations().size(), 1u);
    c.check(onlyAnnotation());
    EXPECT_EQ(undoCount(), before + 1);
    EXPECT_EQ(lastUndoName(), c.undoName);
    doc().undo();
    EXPECT_EQ(onlyAnnotation(), placed);
}

TEST_P(DragHandle, ClickOnTheHandleChangesNothing)
{
    const HandleCase c = GetParam()();
    const Annotation placed = place(c.annotation);
    doc().select(placed.id);
    const std::size_t before = undoCount();
    click(c.grab);
    EXPECT_EQ(onlyAnnotation(), placed);
    EXPECT_EQ(undoCount(), before);
    EXPECT_EQ(doc().selection(), placed.id);
}

INSTANTIATE_TEST_SUITE_P(Canvas, DragHandle,
                         ::testing::Values(&cornerCase, &pointCase, &edgeCase, &rotateCase, &bendCase),
                         [](const auto& info) { return std::string(info.param().name); });

TEST_F(MoveObject, ShiftSnapsTheRotationToFifteenDegrees)
{
    const Annotation box = place(rectangleAt(Rect(200, 200, 200, 100)));
    doc().select(box.id);
    dragFrom({300, 174}, {450, 282}, Qt::ShiftModifier); // 12 degrees below straight right
    EXPECT_NEAR(onlyAnnotation().rotation, std::numbers::pi / 2 + std::numbers::pi / 12, 1e-9);
}

} // namespace
} // namespace lumivex::test
