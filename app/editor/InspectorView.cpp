#include "app/editor/InspectorView.h"

#include "app/design/Design.h"
#include "app/design/DesignButton.h"
#include "app/design/DesignColorWell.h"
#include "app/design/DesignSlider.h"
#include "app/design/DesignToggle.h"
#include "app/editor/CanvasRatioPicker.h"
#include "app/editor/InspectorSection.h"
#include "app/editor/InspectorStyleSection.h"
#include "core/document/EditorDocument.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QVBoxLayout>

#include <cmath>

namespace lumivex {

namespace {

// The scrolling content, on the inspector colour.
class PanelBackground : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), Design::color(Design::Token::inspector)); }
};

QHBoxLayout* buttonRow(std::initializer_list<QWidget*> buttons)
{
    auto* row = new QHBoxLayout;
    row->setSpacing(8);
    for (QWidget* button : buttons)
        row->addWidget(button, 1);
    return row;
}

} // namespace

InspectorView::InspectorView(EditorDocument& document, std::function<void()> onCopyText, QWidget* parent)
    : QScrollArea(parent)
    , m_doc(document)
    , m_onCopyText(std::move(onCopyText))
{
    setFixedWidth(width);
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // A slim bar that takes its colours from the window palette, so it follows the appearance.
    verticalScrollBar()->setStyleSheet(QStringLiteral(
        "QScrollBar:vertical { background: transparent; width: 8px; margin: 2px 1px 2px 1px; }"
        "QScrollBar::handle:vertical { background: palette(mid); border-radius: 3px; min-height: 32px; }"
        "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
        "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: transparent; }"));

    auto* content = new PanelBackground;
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(12, 12, 12, 12);
    column->setSpacing(12);
    m_top = new QVBoxLayout;
    m_top->setSpacing(12);
    column->addLayout(m_top);
    column->addStretch(1);
    m_canvas = canvasSection();
    column->addWidget(m_canvas);
    setWidget(content);

    for (const auto signal : {&EditorDocument::stateChanged, &EditorDocument::selectionChanged,
                              &EditorDocument::toolChanged, &EditorDocument::styleChanged,
                              &EditorDocument::cropDraftChanged})
        connect(&m_doc, signal, this, &InspectorView::documentChanged);
    documentChanged();
}

InspectorView::Shape InspectorView::currentShape() const
{
    Shape shape;
    if (m_doc.tool() == Tool::crop) {
        shape.mode = Shape::Mode::crop;
    } else if (m_doc.tool() == Tool::copyText) {
        shape.mode = Shape::Mode::copyText;
    } else if (const auto selected = m_doc.selectedAnnotation()) {
        shape.mode = Shape::Mode::style;
        shape.kind = selected->kind;
        shape.selection = true;
    } else if (const auto kind = Tools::annotationKind(m_doc.tool())) {
        shape.mode = Shape::Mode::style;
        shape.kind = kind;
    }
    return shape;
}

void InspectorView::documentChanged()
{
    const Shape shape = currentShape();
    if (shape != m_shape) {
        rebuild(shape);
        m_shape = shape;
    } else {
        for (QWidget* section : m_sections) {
            if (auto* refreshable = qobject_cast<InspectorSection*>(section))
                refreshable->refresh();
        }
    }
    m_canvas->refresh();
}

void InspectorView::rebuild(const Shape& shape)
{
    // A section's own button may have caused this change: let its click finish before the section goes.
    for (QWidget* old : m_sections) {
        old->hide();
        old->deleteLater();
    }
    m_sections.clear();
    switch (shape.mode) {
    case Shape::Mode::crop:
        m_sections.push_back(cropSection());
        break;
    case Shape::Mode::copyText:
        m_sections.push_back(textSection());
        break;
    case Shape::Mode::style: {
        InspectorStyleSection::Options options;
        options.textBox = shape.selection && shape.kind == AnnotationKind::text;
        options.polygonHint = !shape.selection;
        m_sections.push_back(new InspectorStyleSection(m_doc, *shape.kind, options));
        if (shape.selection)
            m_sections.push_back(actionSection());
        break;
    }
    case Shape::Mode::hint: {
        QLabel* hint = InspectorSection::hint(tr("도구를 고르거나 캔버스의 항목을 클릭하세요."));
        hint->setFont(Design::font(12));
        hint->setContentsMargins(4, 4, 4, 4);
        m_sections.push_back(hint);
        break;
    }
    }
    for (QWidget* section : m_sections)
        m_top->addWidget(section);
}

InspectorSection* InspectorView::cropSection()
{
    auto* section = new InspectorSection;
    section->addHeader(tr("자르기"), QStringLiteral("crop"));
    QLabel* size = InspectorSection::caption(QString());
    section->add(size);
    section->addHint(tr("핸들을 끌어 영역을 조절하거나, 영역 밖에서 새로 드래그하세요. 안쪽 드래그는 이동, 더블클릭·Return은 확정, Esc는 취소입니다."));
    auto* reset = new DesignButton(tr("원본 크기로 되돌리기"));
    connect(reset, &QAbstractButton::clicked, &m_doc, &EditorDocument::resetCrop);
    section->add(reset);
    section->addHint(tr("원본 픽셀은 그대로 남아 있어 나중에 다시 넓힐 수 있습니다."));
    auto* apply = new DesignButton(tr("적용"), DesignButton::Kind::primary);
    auto* cancel = new DesignButton(tr("취소"));
    connect(apply, &QAbstractButton::clicked, &m_doc, &EditorDocument::applyCrop);
    connect(cancel, &QAbstractButton::clicked, &m_doc, &EditorDocument::cancelCrop);
    section->content()->addLayout(buttonRow({cancel, apply}));
    section->onRefresh([this, size, reset] {
        const auto& draft = m_doc.cropDraft();
        size->setVisible(draft.has_value());
        if (draft)
            size->setText(QStringLiteral("%1 × %2 px").arg(std::lround(draft->width)).arg(std::lround(draft->height)));
        const bool uncropped = !m_doc.state().cropRect && (!draft || *draft == m_doc.state().imageRect());
        reset->setEnabled(!uncropped);
    });
    return section;
}

InspectorSection* InspectorView::textSection()
{
    auto* section = new InspectorSection;
    section->addHeader(tr("텍스트 추출"), QStringLiteral("scan-text"));
    section->addHint(tr("글자가 있는 곳을 드래그하면 그 안의 글자를 읽어 클립보드에 복사합니다."));
    auto* copyAll = new DesignButton(tr("이미지 속 글자 모두 복사"), DesignButton::Kind::primary);
    copyAll->setIconName(QStringLiteral("text-lines"));
    connect(copyAll, &QAbstractButton::clicked, this, [this] {
        if (m_onCopyText)
            m_onCopyText();
    });
    section->add(copyAll);
    section->addHint(tr("블러·가림으로 가린 글자는 복사되지 않습니다. 한국어·영어·일본어·중국어 등은 언어를 자동으로 알아봅니다."));
    return section;
}

InspectorSection* InspectorView::actionSection()
{
    auto* section = new InspectorSection;
    auto* front = new DesignButton(tr("맨 앞으로"));
    auto* back = new DesignButton(tr("맨 뒤로"));
    connect(front, &QAbstractButton::clicked, &m_doc, &EditorDocument::bringToFront);
    connect(back, &QAbstractButton::clicked, &m_doc, &EditorDocument::sendToBack);
    section->content()->addLayout(buttonRow({front, back}));
    auto* remove = new DesignButton(tr("삭제"), DesignButton::Kind::destructive);
    remove->setIconName(QStringLiteral("trash"));
    connect(remove, &QAbstractButton::clicked, &m_doc, &EditorDocument::deleteSelected);
    section->add(remove);
    return section;
}

InspectorSection* InspectorView::canvasSection()
{
    auto* section = new InspectorSection;
    section->addHeader(tr("캔버스"), QStringLiteral("frame"));
    const auto setPadding = [this](const std::function<void(CanvasPadding&)>& change) {
        CanvasPadding padding = m_doc.padding();
        change(padding);
        m_doc.setPadding(padding);
    };
    auto* enabled = new DesignToggle(tr("테두리(여백)"));
    connect(enabled, &QAbstractButton::clicked, this,
            [setPadding](bool on) { setPadding([on](CanvasPadding& p) { p.enabled = on; }); });
    auto* well = new DesignColorWell;
    connect(well, &DesignColorWell::colorChanged, this, [setPadding](const QColor& color) {
        setPadding([&](CanvasPadding& p) { p.color = RGBAColor::fromQColor(color); });
    });
    auto* toggleRow = new QHBoxLayout;
    toggleRow->setSpacing(10);
    toggleRow->addWidget(enabled, 1);
    toggleRow->addWidget(well);
    section->content()->addLayout(toggleRow);
    auto* amount = new DesignSlider(tr("두께"), 0, 80);
    connect(amount, &DesignSlider::valueChanged, this,
            [setPadding](double value) { setPadding([value](CanvasPadding& p) { p.amount = value; }); });
    section->add(amount);
    m_ratio = new CanvasRatioPicker(m_doc);
    section->add(m_ratio);
    section->onRefresh([this, enabled, well, amount] {
        const CanvasPadding& padding = m_doc.padding();
        enabled->setChecked(padding.enabled);
        well->setColor(padding.color.toQColor());
        amount->setValue(padding.amount);
        amount->setEnabled(padding.enabled);
        m_ratio->refresh();
    });
    return section;
}

} // namespace lumivex
