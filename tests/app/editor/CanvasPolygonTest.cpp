// Drafting a polygon click by click: the ways to finish it and the ways to discard it.
#include "CanvasFixture.h"

#include "core/model/Tool.h"

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
    void expectTriangle()
    {
        ASSERT_EQ(annotations().size(), 1u);
        EXPECT_EQ(onlyAnnotation().kind, AnnotationKind::polygon);
        EXPECT_EQ(onlyAnnotation().points, (std::vector<Point>{a, b, c}));
        EXPECT_EQ(undoCount(), 1u);
        EXPECT_EQ(lastUndoName(), QStringLiteral("추가"));
        EXPECT_FALSE(canvas().polygonDraft());
        EXPECT_FALSE(doc().isInteracting());
    }
    void expectNothing()
    {
        EXPECT_TRUE(annotations().empty());
        EXPECT_EQ(undoCount(), 0u);
        EXPECT_FALSE(canvas().polygonDraft());
        EXPECT_FALSE(doc().isInteracting());
    }

    const Point a{100, 100};
    const Point b{300, 100};
    const Point c{200, 300};
};

TEST_F(PolygonDraft, ClickNearTheFirstVertexCloses)
{
    clickTriangle();
    click(a + Vector(6, 6)); // within 10 view points
    expectTriangle();
    EXPECT_EQ(doc().tool(), Tool::polygon);
}

TEST_F(PolygonDraft, ClickFartherFromTheFirstVertexAddsOne)
{
    clickTriangle();
    click(a + Vector(12, 0));
    EXPECT_TRUE(canvas().polygonDraft());
    EXPECT_EQ(annotations().at(0).points.size(), 5u);
}

TEST_F(PolygonDraft, DoubleClickFinishesWithTheClickedVertex)
{
    doc().setStickyTool(false);
    click(a);
    click(b);
    doubleClick(c);
    expectTriangle();
    EXPECT_EQ(doc().tool(), Tool::select);
}

TEST_F(PolygonDraft, ReturnAndEnterFinish)
{
    clickTriangle();
    key(Qt::Key_Return);
    expectTriangle();

    doc().undo();
    clickTriangle();
    key(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(annotations().size(), 1u);
}

TEST_F(PolygonDraft, TheFloatingPointFollowsTheMouseAndIsDroppedAtTheEnd)
{
    clickTriangle();
    hover({250, 250});
    EXPECT_EQ(annotations().at(0).points.back(), Point(250, 250));
    key(Qt::Key_Return);
    expectTriangle();
}

TEST_F(PolygonDraft, ReturnWithTwoVerticesDiscards)
{
    click(a);
    click(b);
    key(Qt::Key_Return);
    expectNothing();
}

TEST_F(PolygonDraft, DeleteRemovesTheLastVertexAndDiscardsTheFirst)
{
    clickTriangle();
    click({150, 200});
    key(Qt::Key_Backspace);
    key(Qt::Key_Return);
    expectTriangle();

    doc().undo();
    click(a);
    key(Qt::Key_Delete);
    expectNothing();
}

TEST_F(PolygonDraft, EscapeDiscards)
{
    clickTriangle();
    key(Qt::Key_Escape);
    expectNothing();
    EXPECT_EQ(doc().tool(), Tool::polygon) << "Escape ends the draft, not the tool";
}

TEST_F(PolygonDraft, ChoosingAnotherToolFinishesTheDraft)
{
    clickTriangle();
    key(Qt::Key_R);
    QApplication::processEvents();
    expectTriangle();
    EXPECT_EQ(doc().tool(), Tool::rectangle);
}

TEST_F(PolygonDraft, ClicksOnObjectsAddVerticesWhileDrafting)
{
    const Annotation box = place(rectangleAt(Rect(250, 250, 100, 100), true));
    const std::size_t before = undoCount();
    click(a);
    click({300, 300}); // on the filled rectangle
    EXPECT_EQ(annotations().back().points.size(), 3u);
    EXPECT_EQ(*doc().annotation(box.id), box);
    key(Qt::Key_Escape);
    EXPECT_EQ(undoCount(), before);
}

} // namespace
} // namespace lumivex::test
