// Drafting a polygon click by click: the ways to finish it and the ways to discard it.
#include "CanvasFixture.h"

namespace lumivex::test {
namespace {

class PolygonDraft : public CanvasFixture {
protected:
    void SetUp() override
    {
        CanvasFixture::SetUp();
        doc().setTool(Tool::polygon);
    }
    void clickTriangle()
    {
        click(a);
        click(b);
        click(c);
    }
    void expectDone(bool triangle)
    {
        QApplication::processEvents();
        EXPECT_EQ(annotations().size(), triangle ? 1u : 0u);
        if (triangle) {
            EXPECT_EQ(onlyAnnotation().kind, AnnotationKind::polygon);
            EXPECT_EQ(onlyAnnotation().points, (std::vector<Point>{a, b, c}));
            EXPECT_EQ(lastUndoName(), QStringLiteral("추가"));
        }
        EXPECT_EQ(undoCount(), triangle ? 1u : 0u);
        EXPECT_FALSE(canvas().polygonDraft());
        EXPECT_FALSE(doc().isInteracting());
        if (triangle)
            doc().undo();
    }

    const Point a{100, 100}, b{300, 100}, c{200, 300};
};

TEST_F(PolygonDraft, FinishedByTheFirstVertexReturnEnterOrAnotherTool)
{
    clickTriangle();
    click(a + Vector(12, 0)); // beyond 10 view points of the first vertex: one more vertex
    EXPECT_EQ(annotations().at(0).points.size(), 5u) << "four vertices and the one following the mouse";
    key(Qt::Key_Backspace);
    click(a + Vector(6, 6));
    expectDone(true);
    EXPECT_EQ(doc().tool(), Tool::polygon);

    clickTriangle();
    hover({250, 250});
    EXPECT_EQ(annotations().at(0).points.back(), Point(250, 250)) << "the floating point follows the mouse";
    key(Qt::Key_Return);
    expectDone(true);

    clickTriangle();
    key(Qt::Key_Enter, Qt::KeypadModifier);
    expectDone(true);

    clickTriangle();
    key(Qt::Key_R);
    expectDone(true);
    EXPECT_EQ(doc().tool(), Tool::rectangle);
}

TEST_F(PolygonDraft, DoubleClickFinishesWithTheClickedVertex)
{
    doc().setStickyTool(false);
    click(a);
    click(b);
    doubleClick(c);
    expectDone(true);
    EXPECT_EQ(doc().tool(), Tool::select);
}

TEST_F(PolygonDraft, DiscardedByReturnWithTwoVerticesDeletingTheFirstOrEscape)
{
    click(a);
    click(b);
    key(Qt::Key_Return);
    expectDone(false);

    click(a);
    key(Qt::Key_Delete);
    expectDone(false);

    clickTriangle();
    key(Qt::Key_Escape);
    expectDone(false);
    EXPECT_EQ(doc().tool(), Tool::polygon) << "Escape ends the draft, not the tool";
}

TEST_F(PolygonDraft, ClicksOnObjectsAddVertices)
{
    const Annotation box = place(rectangleAt(Rect(250, 250, 100, 100), true));
    click(a);
    click({300, 300});
    EXPECT_EQ(annotations().back().points.size(), 3u);
    EXPECT_EQ(*doc().annotation(box.id), box);
}

} // namespace
} // namespace lumivex::test
