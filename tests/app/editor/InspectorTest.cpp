// The inspector: the right sections and labels for each tool and selection, and controls that write the fields
// they name.
#include "EditorViewFixture.h"

#include "app/design/DesignButton.h"
#include "app/design/DesignPill.h"
#include "app/design/DesignSegmented.h"
#include "app/design/DesignToggle.h"
#include "app/editor/CanvasRatioPicker.h"
#include "app/editor/CustomRatioPopover.h"

#include <QLineEdit>

namespace lumivex::test {
namespace {

class Inspector : public EditorViewFixture {
protected:
    // Clicks the choice of a segmented control that has it.
    void choose(const QString& title)
    {
        settle();
        for (DesignSegmented* control : inspector().widget()->findChildren<DesignSegmented*>()) {
            for (int i = 0; i < int(control->items().size()); ++i) {
                if (control->items()[std::size_t(i)].title == title && control->isVisibleTo(&inspector()))
                    return click(control, control->itemRect(i).center());
            }
        }
        ADD_FAILURE() << "no choice " << title.toStdString();
    }
    // Clicks a slider's track at a fraction of its length.
    void slide(const QString& label, double fraction)
    {
        DesignSlider* slider = inspectorControl<DesignSlider>(label);
        ASSERT_NE(slider, nullptr);
        const QRectF track = slider->trackRect();
        click(slider, QPointF(track.left() + fraction * track.width(), track.center().y()).toPoint());
    }
};

struct SectionCase {
    const char* name;
    std::function<void(EditorDocument&)> setUp;
    QStringList shown;
    QStringList hidden;
};

TEST_F(Inspector, ShowsTheSectionForTheToolTheSelectionCropAndTextRecognition)
{
    const QString polygonHint = QStringLiteral(
        "클릭으로 꼭짓점을 찍고, 시작점 클릭·더블클릭·Return으로 완성합니다. Delete: 마지막 점 취소, Esc: 그리기 취소.");
    const std::vector<SectionCase> cases = {
        {"nothing", [](EditorDocument&) {},
         {"도구를 고르거나 캔버스의 항목을 클릭하세요.", "캔버스", "테두리(여백)", "비율", "사용자 지정…", "세로 방향"},
         {"불투명도", "맨 앞으로"}},
        {"rectangle tool", [](EditorDocument& d) { d.setTool(Tool::rectangle); },
         {"사각형", "선 색", "채우기", "선 두께", "모서리 둥글기", "불투명도"},
         {"맨 앞으로", "도구를 고르거나 캔버스의 항목을 클릭하세요."}},
        {"selected arrow", [](EditorDocument& d) { test::addShape(d, AnnotationKind::arrow, Rect(100, 100, 200, 80)); },
         {"화살표", "색", "두께", "모양", "직선", "왼쪽 곡선", "오른쪽 곡선", "휘어짐", "맨 앞으로", "맨 뒤로", "삭제"},
         {"채우기"}},
        {"polygon tool", [](EditorDocument& d) { d.setTool(Tool::polygon); },
         {"다각형", "테두리 색", "테두리 두께", polygonHint}, {}},
        {"text tool", [](EditorDocument& d) { d.setTool(Tool::text); },
         {"텍스트", "글자 색", "글자 크기", "굵게", "배경", "외곽선", "외곽선 두께"}, {"배경 상자 늘리기"}},
        {"selected text",
         [](EditorDocument& d) {
             Annotation text = d.makeAnnotation(AnnotationKind::text);
             text.text = QStringLiteral("abc");
             text.refreshTextFrame(false);
             d.add(text);
         },
         {"배경 상자 늘리기", "가로", "세로", "삭제"}, {}},
        {"blur tool", [](EditorDocument& d) { d.setTool(Tool::blur); },
         {"블러", "가우시안", "모자이크", "강도", "원본 이미지를 흐립니다. 위에 얹은 도형·스티커는 흐려지지 않습니다."}, {}},
        {"crop tool", [](EditorDocument& d) { d.setTool(Tool::crop); },
         {"자르기", "1000 × 600 px", "원본 크기로 되돌리기", "적용", "취소", "캔버스"}, {"불투명도"}},
        {"text recognition", [](EditorDocument& d) { d.setTool(Tool::copyText); },
         {"텍스트 추출", "이미지 속 글자 모두 복사",
          "블러·가림으로 가린 글자는 복사되지 않습니다. 한국어·영어·일본어·중국어 등은 언어를 자동으로 알아봅니다."},
         {"불투명도"}},
    };
    for (const SectionCase& c : cases) {
        SCOPED_TRACE(c.name);
        doc().setTool(Tool::select);
        doc().select(std::nullopt);
        c.setUp(doc());
        const QStringList texts = inspectorTexts();
        for (const QString& text : c.shown)
            EXPECT_TRUE(texts.contains(text)) << "missing " << text.toStdString();
        for (const QString& text : c.hidden)
            EXPECT_FALSE(texts.contains(text)) << "unexpected " << text.toStdString();
    }
    doc().setTool(Tool::polygon);
    addShape(AnnotationKind::polygon, Rect(10, 10, 50, 50));
    EXPECT_FALSE(inspectorTexts().contains(polygonHint)) << "no drafting hint for a selected polygon";
}

TEST_F(Inspector, ArrowShapeChoicesSetTheBendOfTheSelectedArrow)
{
    const QUuid arrow = addShape(AnnotationKind::arrow, Rect(100, 100, 300, 100));
    const auto bend = [&] { return doc().annotation(arrow)->arrowBend; };
    choose(QStringLiteral("왼쪽 곡선"));
    EXPECT_DOUBLE_EQ(bend(), 0.3);
    choose(QStringLiteral("오른쪽 곡선"));
    EXPECT_DOUBLE_EQ(bend(), -0.3);
    choose(QStringLiteral("직선"));
    EXPECT_DOUBLE_EQ(bend(), 0);
    slide(QStringLiteral("휘어짐"), 1.0);
    EXPECT_DOUBLE_EQ(bend(), 1.2);
}

TEST_F(Inspector, SlidersAndTogglesWriteTheirOwnFieldOfTheSelectedObject)
{
    const QUuid id = addShape(AnnotationKind::rectangle, Rect(100, 100, 300, 200));
    const auto shape = [&] { return *doc().annotation(id); };
    slide(QStringLiteral("선 두께"), 0.5);
    EXPECT_NEAR(shape().lineWidth, 10 * doc().unit(), 0.5);
    slide(QStringLiteral("모서리 둥글기"), 0.25);
    EXPECT_NEAR(shape().cornerRadius, 15 * doc().unit(), 0.5);
    slide(QStringLiteral("불투명도"), 0.0);
    EXPECT_DOUBLE_EQ(shape().opacity, 0.1);
    EXPECT_EQ(inspectorControl<DesignSlider>(QStringLiteral("불투명도"))->valueText(), QStringLiteral("10%"));
    EXPECT_FALSE(shape().fillColor.has_value());
    click(inspectorControl<DesignToggle>(QStringLiteral("채우기")));
    EXPECT_TRUE(shape().fillColor.has_value());
}

TEST_F(Inspector, CustomRatioTakesPartsFromOneToAHundredOnly)
{
    CanvasRatioPicker* picker = inspector().ratioPicker();
    click(picker->customPill());
    CustomRatioPopover* popover = picker->customPopover();
    ASSERT_NE(popover, nullptr);
    const auto enter = [&](const QString& width, const QString& height) {
        popover->widthField()->setText(width);
        popover->heightField()->setText(height);
        QTest::mouseClick(popover->applyButton(), Qt::LeftButton);
    };
    enter(QStringLiteral("0"), QStringLiteral("9"));
    EXPECT_EQ(doc().ratio(), CanvasRatio::automatic());
    EXPECT_FALSE(popover->applyButton()->isEnabled());
    enter(QStringLiteral("101"), QStringLiteral("9"));
    QTest::keyClick(popover->heightField(), Qt::Key_Return);
    EXPECT_EQ(doc().ratio(), CanvasRatio::automatic());
    enter(QStringLiteral("16"), QStringLiteral("9"));
    EXPECT_EQ(doc().ratio(), CanvasRatio::fixed(16, 9));
    settle();
    EXPECT_EQ(picker->customPopover(), nullptr) << "closed once applied";
    EXPECT_TRUE(picker->presetPills()[2]->isSelected()) << "16:9 is a preset";
    EXPECT_EQ(picker->exportSize()->text(), QStringLiteral("내보내기 크기: 1067 × 600 px"));
}

TEST_F(Inspector, ResetCropIsOfferedOnlyWhenThereIsACropToUndo)
{
    doc().setTool(Tool::crop);
    DesignButton* reset = inspectorControl<DesignButton>(QStringLiteral("원본 크기로 되돌리기"));
    ASSERT_NE(reset, nullptr);
    EXPECT_FALSE(reset->isEnabled()) << "never cropped, draft covers the picture";
    doc().setCropDraft(Rect(100, 100, 400, 300));
    EXPECT_TRUE(reset->isEnabled());
    click(inspectorControl<DesignButton>(QStringLiteral("적용")));
    ASSERT_TRUE(doc().state().cropRect.has_value());
    doc().setTool(Tool::crop);
    reset = inspectorControl<DesignButton>(QStringLiteral("원본 크기로 되돌리기"));
    EXPECT_TRUE(reset->isEnabled());
    click(reset);
    EXPECT_FALSE(doc().state().cropRect.has_value());
}

TEST_F(Inspector, PresetPillsAndPaddingFrameTheCanvas)
{
    CanvasRatioPicker* picker = inspector().ratioPicker();
    click(picker->presetPills()[3]); // 1:1
    EXPECT_EQ(doc().ratio(), CanvasRatio::fixed(1, 1));
    EXPECT_EQ(picker->exportSize()->text(), QStringLiteral("내보내기 크기: 1000 × 1000 px"));
    click(inspectorControl<DesignToggle>(QStringLiteral("테두리(여백)")));
    slide(QStringLiteral("두께"), 0.5);
    EXPECT_TRUE(doc().padding().enabled);
    EXPECT_NEAR(doc().padding().amount, 40, 1);
    // Landscape 6.7″ is an exact pixel size.
    picker->orientation()->items()[1].action();
    click(picker->devicePills()[1]);
    EXPECT_EQ(doc().ratio(), CanvasRatio::size(2796, 1290));
    EXPECT_EQ(picker->exportSize()->text(), QStringLiteral("내보내기 크기: 2796 × 1290 px"));
}

} // namespace
} // namespace lumivex::test
