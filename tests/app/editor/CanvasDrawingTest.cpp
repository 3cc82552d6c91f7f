// Drawing new objects with the shape tools: one "추가" step per shape, Shift for squares and circles, and the
// four-view-point minimum below which nothing is made.
#include "CanvasFixture.h"

#include "core/model/Tool.h"

#include <cmath>
#include <numbers>

namespace lumivex::test {
namespace {

struct ShapeTool {
    Tool tool;
    AnnotationKind kind;
};

class DrawShape : public CanvasFixture, public ::testing::WithParamInterface<ShapeTool> {};

TEST_P(DrawShape, DragMakesOneSelectedShapeAsOneStep)
{
    doc().setTool(GetParam().tool);
    dragFrom({100, 120}, {300, 270});

    const Annotation shape = onlyAnnotation();
    EXPECT_EQ(shape.kind, GetParam().kind);
    EXPECT_EQ(shape.frame, Rect(100, 120, 200, 150));
    EXPECT_EQ(doc().selection(), shape.id);
    EXPECT_EQ(undoCount(), 1u);
    EXPECT_EQ(lastUndoName(), QStringLiteral("추가"));
    EXPECT_EQ(doc().tool(), GetParam().tool) << "the tool is sticky by default";
}

TEST_P(DrawShape, ShiftMakesEqualSidesInEveryDirection)
{
    // (dx, dy) of the drag from (500, 300), and the square it must give.
    const struct {
        double dx, dy;
        Rect square;
    } drags[] = {
        {120, 60, Rect(500, 300, 120, 120)},
        {-120, 60, Rect(380, 300, 120, 120)},
        {120, -60, Rect(500, 180, 120, 120)},
        {-60, -120, Rect(380, 180, 120, 120)},
    };
    doc().setTool(GetParam().tool);
    for (const auto& drag : drags) {
        dragFrom({500, 300}, {500 + drag.dx, 300 + drag.dy}, Qt::ShiftModifier);
        EXPECT_EQ(onlyAnnotation().frame, drag.square) << drag.dx << ", " << drag.dy;
        doc().undo(); // the next drag starts on empty canvas again
    }
}

TEST_P(DrawShape, NothingBelowFourViewPoints)
{
    doc().setStickyTool(false);
    doc().setTool(GetParam().tool);
    click({400, 300});
    dragFrom({400, 300}, {403, 303});
    dragFrom({400, 300}, {450, 303});
    EXPECT_TRUE(annotations().empty());
    EXPECT_EQ(undoCount(), 0u);
    EXPECT_FALSE(doc().isInteracting());
    EXPECT_EQ(doc().tool(), GetParam().tool) << "a gesture that made nothing keeps the tool";

    dragFrom({400, 300}, {404, 304});
    EXPECT_EQ(onlyAnnotation().frame, Rect(400, 300, 4, 4));
    EXPECT_EQ(doc().tool(), Tool::select) << "without the tool lock, drawing returns to selecting";
}

INSTANTIATE_TEST_SUITE_P(Canvas, DrawShape,
                         ::testing::Values(ShapeTool{Tool::rectangle, AnnotationKind::rectangle},
                                           ShapeTool{Tool::filledRectangle, AnnotationKind::rectangle},
                                           ShapeTool{Tool::ellipse, AnnotationKind::ellipse},
                                           ShapeTool{Tool::blur, AnnotationKind::blur}),
                         [](const auto& info) { return Tools::rawValue(info.param.tool).toStdString(); });

using DrawArrow = CanvasFixture;

TEST_F(DrawArrow, DragSetsTailAndHead)
{
    doc().setTool(Tool::arrow);
    dragFrom({100, 100}, {300, 250});
    const Annotation arrow = onlyAnnotation();
    ASSERT_EQ(arrow.points.size(), 2u);
    EXPECT_EQ(arrow.points[0], Point(100, 100));
    EXPECT_EQ(arrow.points[1], Point(300, 250));
    EXPECT_EQ(lastUndoName(), QStringLiteral("추가"));
}

TEST_F(DrawArrow, ShiftSnapsToFortyFiveDegreesKeepingTheLength)
{
    doc().setTool(Tool::arrow);
    dragFrom({100, 100}, {300, 120}, Qt::ShiftModifier);
    const Annotation arrow = onlyAnnotation();
    ASSERT_EQ(arrow.points.size(), 2u);
    EXPECT_NEAR(arrow.points[1].y, 100, 1e-9) << "nearly horizontal snaps to horizontal";
    EXPECT_NEAR(arrow.points[1].x, 100 + std::hypot(200, 20), 1e-9);
}

using DrawZoomed = CanvasFixture;

TEST_F(DrawZoomed, MinimumSizeIsInViewPoints)
{
    // 2000 x 1200 pixels in the same view: half a view point per image pixel.
    open(QSize(2000, 1200), QSize(1056, 656));
    ASSERT_DOUBLE_EQ(canvas().transform().scale, 0.5);
    doc().setTool(Tool::rectangle);
    dragFrom({400, 400}, {406, 406}); // 3 view points
    EXPECT_TRUE(annotations().empty());
    dragFrom({400, 400}, {408, 408}); // 4 view points
    EXPECT_EQ(onlyAnnotation().frame, Rect(400, 400, 8, 8));
}

using DrawOverObjects = CanvasFixture;

TEST_F(DrawOverObjects, PressingOnAnObjectMovesItInsteadOfDrawing)
{
    const Annotation filled = place(rectangleAt(Rect(100, 100, 200, 100), true));
    doc().setTool(Tool::ellipse);
    dragFrom({150, 150}, {190, 170});
    ASSERT_EQ(annotations().size(), 1u);
    EXPECT_EQ(onlyAnnotation().frame, filled.frame.translated({40, 20}));
    EXPECT_EQ(lastUndoName(), QStringLiteral("이동"));
}

} // namespace
} // namespace lumivex::test
