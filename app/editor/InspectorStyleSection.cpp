#include "app/editor/InspectorStyleSection.h"

#include "app/design/DesignColorWell.h"
#include "app/design/DesignSegmented.h"
#include "app/design/DesignToggle.h"
#include "core/document/EditorDocument.h"

#include <QHBoxLayout>
#include <QLabel>

#include <cmath>

namespace lumivex {

namespace {

// A choice of the shape row shows as selected within this distance of its bend.
constexpr double kBendTolerance = 0.01;

QString bendText(double bend)
{
    return QString::number(bend, 'f', 2);
}

} // namespace

InspectorStyleSection::InspectorStyleSection(EditorDocument& document, AnnotationKind kind, Options options,
                                             QWidget* parent)
    : InspectorSection(parent)
    , m_doc(document)
{
    addHeader(kindTitle(kind));
    switch (kind) {
    case AnnotationKind::rectangle:
        addRectangleControls();
        break;
    case AnnotationKind::ellipse:
        addEllipseControls();
        break;
    case AnnotationKind::polygon:
        addEllipseControls();
        if (options.polygonHint)
            addHint(tr("클릭으로 꼭짓점을 찍고, 시작점 클릭·더블클릭·Return으로 완성합니다. Delete: 마지막 점 취소, Esc: 그리기 취소."));
        break;
    case AnnotationKind::arrow:
        addArrowControls();
        break;
    case AnnotationKind::text:
        addTextControls(options.textBox);
        break;
    case AnnotationKind::blur:
        addBlurControls();
        break;
    case AnnotationKind::sticker:
        addHint(tr("모서리 핸들: 크기 조절 · 위쪽 원: 회전 (⇧: 15° 단위)"));
        addOpacity();
        break;
    }
}

QString InspectorStyleSection::kindTitle(AnnotationKind kind)
{
    switch (kind) {
    case AnnotationKind::rectangle:
        return tr("사각형");
    case AnnotationKind::ellipse:
        return tr("원 / 타원");
    case AnnotationKind::polygon:
        return tr("다각형");
    case AnnotationKind::arrow:
        return tr("화살표");
    case AnnotationKind::text:
        return tr("텍스트");
    case AnnotationKind::blur:
        return tr("블러");
    case AnnotationKind::sticker:
        return tr("스티커");
    }
    return {};
}

void InspectorStyleSection::addRectangleControls()
{
    addColor(tr("선 색"), &ToolStyle::strokeColor);
    addFillRow(tr("채우기"));
    addSlider(tr("선 두께"), 0, 20, &ToolStyle::lineWidth);
    addSlider(tr("모서리 둥글기"), 0, 60, &ToolStyle::cornerRadius);
    addOpacity();
}

void InspectorStyleSection::addEllipseControls()
{
    addFillRow(tr("채우기"));
    addColor(tr("테두리 색"), &ToolStyle::strokeColor);
    addSlider(tr("테두리 두께"), 0, 20, &ToolStyle::lineWidth);
    addOpacity();
}

void InspectorStyleSection::addArrowControls()
{
    addColor(tr("색"), &ToolStyle::strokeColor);
    addSlider(tr("두께"), 1, 20, &ToolStyle::lineWidth);
    addArrowShape();
    addOpacity();
}

void InspectorStyleSection::addTextControls(bool textBox)
{
    addColor(tr("글자 색"), &ToolStyle::strokeColor);
    addSlider(tr("글자 크기"), 8, 120, &ToolStyle::fontSize);
    addToggle(tr("굵게"), &ToolStyle::bold);
    addFillRow(tr("배경"));
    addOutlineRow();
    if (textBox)
        addTextBox();
    addOpacity();
}

void InspectorStyleSection::addBlurControls()
{
    auto* choice = new DesignSegmented;
    onRefresh([this, choice] {
        const BlurStyle current = m_doc.style().blurStyle;
        const auto item = [this, current](const QString& title, BlurStyle style) {
            return DesignSegmented::Item{title, current == style, [this, style] {
                                             edit([style](ToolStyle& s) { s.blurStyle = style; });
                                         }};
        };
        choice->setItems({item(tr("가우시안"), BlurStyle::gaussian), item(tr("모자이크"), BlurStyle::pixelate)});
    });
    add(choice);
    addSlider(tr("강도"), 2, 60, &ToolStyle::blurAmount);
    addSlider(tr("모서리 둥글기"), 0, 200, &ToolStyle::cornerRadius);
    addHint(tr("원본 이미지를 흐립니다. 위에 얹은 도형·스티커는 흐려지지 않습니다."));
}

DesignColorWell* InspectorStyleSection::addColor(const QString& label, RGBAColor ToolStyle::*field)
{
    auto* well = new DesignColorWell;
    connect(well, &DesignColorWell::colorChanged, this, [this, field](const QColor& color) {
        edit([&](ToolStyle& s) { s.*field = RGBAColor::fromQColor(color); });
    });
    onRefresh([this, well, field] { well->setColor((m_doc.style().*field).toQColor()); });
    add(row(caption(label), well));
    return well;
}

void InspectorStyleSection::addFillRow(const QString& label)
{
    auto* toggle = new DesignToggle(label);
    connect(toggle, &QAbstractButton::clicked, this,
            [this](bool on) { edit([on](ToolStyle& s) { s.fillEnabled = on; }); });
    auto* line = new QWidget;
    auto* layout = new QHBoxLayout(line);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    layout->addWidget(toggle, 1);
    DesignColorWell* well = new DesignColorWell;
    connect(well, &DesignColorWell::colorChanged, this, [this](const QColor& color) {
        edit([&](ToolStyle& s) { s.fillColor = RGBAColor::fromQColor(color); });
    });
    layout->addWidget(well);
    onRefresh([this, toggle, well] {
        toggle->setChecked(m_doc.style().fillEnabled);
        well->setColor(m_doc.style().fillColor.toQColor());
        well->setEnabled(m_doc.style().fillEnabled);
    });
    add(line);
}

DesignSlider* InspectorStyleSection::addSlider(const QString& label, double minimum, double maximum,
                                               double ToolStyle::*field, DesignSlider::Format format)
{
    auto* slider = new DesignSlider(label, minimum, maximum);
    slider->setFormat(std::move(format));
    connect(slider, &DesignSlider::valueChanged, this,
            [this, field](double value) { edit([&](ToolStyle& s) { s.*field = value; }); });
    onRefresh([this, slider, field] { slider->setValue(m_doc.style().*field); });
    add(slider);
    return slider;
}

void InspectorStyleSection::addToggle(const QString& label, bool ToolStyle::*field)
{
    auto* toggle = new DesignToggle(label);
    connect(toggle, &QAbstractButton::clicked, this, [this, field](bool on) { edit([&](ToolStyle& s) { s.*field = on; }); });
    onRefresh([this, toggle, field] { toggle->setChecked(m_doc.style().*field); });
    add(toggle);
}

void InspectorStyleSection::addOutlineRow()
{
    auto* toggle = new DesignToggle(tr("외곽선"));
    connect(toggle, &QAbstractButton::clicked, this,
            [this](bool on) { edit([on](ToolStyle& s) { s.outlineEnabled = on; }); });
    auto* line = new QWidget;
    auto* layout = new QHBoxLayout(line);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    layout->addWidget(toggle, 1);
    auto* well = new DesignColorWell;
    connect(well, &DesignColorWell::colorChanged, this, [this](const QColor& color) {
        edit([&](ToolStyle& s) { s.outlineColor = RGBAColor::fromQColor(color); });
    });
    layout->addWidget(well);
    add(line);
    DesignSlider* width = addSlider(tr("외곽선 두께"), 0.5, 10, &ToolStyle::outlineWidth);
    onRefresh([this, toggle, well, width] {
        const ToolStyle& s = m_doc.style();
        toggle->setChecked(s.outlineEnabled);
        well->setColor(s.outlineColor.toQColor());
        well->setEnabled(s.outlineEnabled);
        width->setEnabled(s.outlineEnabled);
    });
}

void InspectorStyleSection::addArrowShape()
{
    add(caption(tr("모양")));
    auto* shape = new DesignSegmented;
    onRefresh([this, shape] {
        const double current = m_doc.style().arrowBend;
        const auto item = [this, current](const QString& title, double bend) {
            return DesignSegmented::Item{title, std::abs(current - bend) <= kBendTolerance,
                                         [this, bend] { edit([bend](ToolStyle& s) { s.arrowBend = bend; }); }};
        };
        shape->setItems({item(tr("직선"), 0), item(tr("왼쪽 곡선"), leftCurveBend),
                         item(tr("오른쪽 곡선"), -leftCurveBend)});
    });
    add(shape);
    // A bend is a fraction of the arrow's length, not a size: shown as a plain decimal.
    addSlider(tr("휘어짐"), -1.2, 1.2, &ToolStyle::arrowBend, &bendText);
}

void InspectorStyleSection::addTextBox()
{
    add(caption(tr("배경 상자 늘리기")));
    const auto extra = [this] {
        const auto selected = m_doc.selectedAnnotation();
        return selected ? selected->textExtraSize : Size();
    };
    auto* across = new DesignSlider(tr("가로"), 0, 120);
    auto* down = new DesignSlider(tr("세로"), 0, 120);
    connect(across, &DesignSlider::valueChanged, this,
            [this, extra](double value) { m_doc.setSelectedTextExtra(Size(value, extra().height)); });
    connect(down, &DesignSlider::valueChanged, this,
            [this, extra](double value) { m_doc.setSelectedTextExtra(Size(extra().width, value)); });
    onRefresh([across, down, extra] {
        across->setValue(extra().width);
        down->setValue(extra().height);
    });
    add(across);
    add(down);
    addHint(tr("상자 가장자리 중앙의 사각 핸들을 끌어도 됩니다. 배경을 켜면 늘어난 모양이 보입니다."));
}

void InspectorStyleSection::addOpacity()
{
    addSlider(tr("불투명도"), 0.1, 1, &ToolStyle::opacity, &DesignSlider::percent);
}

void InspectorStyleSection::edit(const std::function<void(ToolStyle&)>& change)
{
    ToolStyle style = m_doc.style();
    change(style);
    m_doc.setStyle(style);
}

} // namespace lumivex
