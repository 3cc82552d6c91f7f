// Drawing new objects with the shape tools: one "추가" step per shape, Shift for equal sides, and the
// four-view-point minimum below which nothing is made.
#include "CanvasFixture.h"

#include <cmath>

namespace lumivex::test {
namespace {

struct ShapeTool {
    Tool tool;
    AnnotationKind kind;
};

class DrawShape : public CanvasFixture, public ::testing::WithParamInterface<ShapeTool> {};

TEST_P(DrawShape, DragMakesOneSelectedShapeAndShiftMakesEqualSidesInEveryDirection)
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
    doc().undo();

    const struct {
        double dx, dy;
        Rect square;
    } drags[] = {{120, 60, Rect(500, 300, 120, 120)}, {-120, 60, Rect(380, 300, 120, 120)},
                 {120, -60, Rect(500, 180, 120, 120)}, {-60, -120, Rect(380, 180, 120, 120)}};
    for (const auto& drag : drags) {
        dragFrom({500, 300}, {500 + drag.dx, 300 + drag.dy}, Qt::ShiftModifier);
        EXPECT_EQ(onlyAnnotation().frame, drag.square) << drag.dx << ", " << drag.dy;
        doc().undo();
    }
}

TEST_P(DrawShape, NothingBelowFourViewPointsAndTheToolStays)
{
    doc().setStickyTool(false);
    doc().setTool(GetParam().tool);
    click({400, 300});
    dragFrom({400, 300}, {403, 303});
    dragFrom({400, 300}, {450, 303});
    EXPECT_TRUE(annotations().empty());
    EXPECT_EQ(undoCount(), 0u);
    EXPECT_FALSE(doc().isInteracting());
    EXPECT_EQ(doc().tool(), GetParam().tool);

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

using Draw = CanvasFixture;

TEST_F(Draw, ArrowGoesFromTailToHeadAndShiftSnapsKeepingTheLength)
{
    doc().setTool(Tool::arrow);
    dragFrom({100, 100}, {300, 250});
    EXPECT_EQ(onlyAnnotation().points, (std::vector<Point>{{100, 100}, {300, 250}}));
    EXPECT_EQ(lastUndoName(), QStringLiteral("추가"));
    doc().undo();
    dragFrom({100, 100}, {300, 120}, Qt::ShiftModifier);
    ASSERT_EQ(onlyAnnotation().points.size(), 2u);
    EXPECT_NEAR(onlyAnnotation().points[1].y, 100, 1e-9);
    EXPECT_NEAR(onlyAnnotation().points[1].x, 100 + std::hypot(200, 20), 1e-9);
}

TEST_F(Draw, MinimumSizeIsInViewPointsWhenZoomedOut)
{
    open(QSize(2000, 1200));
    ASSERT_DOUBLE_EQ(canvas().transform().scale, 0.5);
    doc().setTool(Tool::rectangle);
    dragFrom({400, 400}, {406, 406}); // 3 view points
    EXPECT_TRUE(annotations().empty());
    dragFrom({400, 400}, {408, 408});
    EXPECT_EQ(onlyAnnotation().frame, Rect(400, 400, 8, 8));
}

TEST_F(Draw, PressingOnAnObjectMovesItInsteadOfDrawing)
{
    const Annotation filled = place(rectangleAt(Rect(100, 100, 200, 100), true));
    doc().setTool(Tool::ellipse);
    dragFrom({150, 150}, {190, 170});
    EXPECT_EQ(onlyAnnotation().frame, filled.frame.translated({40, 20}));
    EXPECT_EQ(lastUndoName(), QStringLiteral("이동"));
}

} // namespace
} // namespace lumivex::test
