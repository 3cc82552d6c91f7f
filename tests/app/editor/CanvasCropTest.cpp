// Editing the crop draft on the canvas: create, move, resize, apply and cancel.
#include "CanvasFixture.h"

namespace lumivex::test {
namespace {

class CropDraft : public CanvasFixture {
protected:
    void SetUp() override
    {
        CanvasFixture::SetUp();
        key(Qt::Key_C);
        ASSERT_EQ(doc().cropDraft(), Rect(0, 0, 1000, 600)) << "the draft starts as the whole image";
        dragFrom({100, 100}, {400, 300});
        ASSERT_EQ(doc().cropDraft(), Rect(100, 100, 300, 200));
    }
};

TEST_F(CropDraft, DragInsideMovesHandlesResizeAndAClickOutsideKeepsTheDraft)
{
    click({700, 500});
    dragFrom({700, 500}, {705, 504});
    EXPECT_EQ(doc().cropDraft(), Rect(100, 100, 300, 200));
    dragFrom({200, 200}, {250, 220});
    EXPECT_EQ(doc().cropDraft(), Rect(150, 120, 300, 200));
    dragFrom({150, 120}, {60, 50}); // the top-left handle
    EXPECT_EQ(doc().cropDraft(), Rect(60, 50, 390, 270));
    dragFrom({450, 185}, {40, 185}); // the right handle, past the left edge: stops 8 pixels short
    EXPECT_EQ(doc().cropDraft(), Rect(60, 50, 8, 270));
    dragFrom({700, 500}, {800, 580});
    EXPECT_EQ(doc().cropDraft(), Rect(700, 500, 100, 80)) << "a real drag outside draws a new draft";
    EXPECT_EQ(undoCount(), 0u) << "drafts are not undoable";
}

TEST_F(CropDraft, DoubleClickInsideApplies)
{
    doubleClick({200, 200});
    EXPECT_EQ(doc().state().cropRect, Rect(100, 100, 300, 200));
    EXPECT_EQ(doc().tool(), Tool::select);
    EXPECT_EQ(undoCount(), 1u);
    EXPECT_EQ(lastUndoName(), QStringLiteral("자르기"));
}

TEST_F(CropDraft, EscapeCancelsAndEnterAppliesShowingTheWholeImageOnlyWhileCropping)
{
    key(Qt::Key_Escape);
    EXPECT_EQ(doc().tool(), Tool::select);
    EXPECT_FALSE(doc().state().cropRect);

    key(Qt::Key_C);
    dragFrom({100, 100}, {400, 300});
    key(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(doc().state().cropRect, Rect(100, 100, 300, 200));
    EXPECT_EQ(doc().tool(), Tool::select);
    EXPECT_DOUBLE_EQ(canvas().transform().scale, 3.0) << "the cropped picture fills the view";
    key(Qt::Key_C);
    EXPECT_DOUBLE_EQ(canvas().transform().scale, 1.0);
    EXPECT_EQ(doc().cropDraft(), Rect(100, 100, 300, 200));
}

} // namespace
} // namespace lumivex::test
