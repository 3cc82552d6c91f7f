#include "app/editor/CanvasRatioPicker.h"

#include "app/design/Design.h"
#include "app/design/DesignPill.h"
#include "app/design/DesignSegmented.h"
#include "app/design/FlowLayout.h"
#include "app/editor/CustomRatioPopover.h"
#include "app/editor/InspectorSection.h"
#include "core/document/EditorDocument.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <cmath>

namespace lumivex {

namespace {

QString times(double width, double height)
{
    return QStringLiteral("%1 × %2").arg(std::lround(width)).arg(std::lround(height));
}

QWidget* flow(const std::vector<DesignPill*>& pills)
{
    auto* area = new QWidget;
    auto* layout = new FlowLayout(5, 5, area);
    for (DesignPill* pill : pills)
        layout->addWidget(pill);
    return area;
}

} // namespace

CanvasRatioPicker::CanvasRatioPicker(EditorDocument& document, QWidget* parent)
    : QWidget(parent)
    , m_doc(document)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(8);
    column->addWidget(InspectorSection::caption(tr("비율")));

    for (const CanvasRatio::Preset& preset : CanvasRatio::presets()) {
        auto* pill = new DesignPill(preset.title, false, preset.sizeHint.value_or(QString()));
        const CanvasRatio ratio = preset.ratio;
        connect(pill, &QAbstractButton::clicked, this, [this, ratio] { m_doc.setRatio(ratio); });
        m_presets.push_back(pill);
    }
    m_custom = new DesignPill(tr("사용자 지정…"));
    connect(m_custom, &QAbstractButton::clicked, this, &CanvasRatioPicker::openCustom);
    std::vector<DesignPill*> all = m_presets;
    all.push_back(m_custom);
    column->addWidget(flow(all));
    column->addWidget(InspectorSection::hint(tr("비율을 맞추려고 늘어난 영역은 테두리 색으로 채워집니다.")));
    m_exportSize = InspectorSection::hint(QString());
    m_exportSize->setForegroundRole(QPalette::WindowText);
    column->addWidget(m_exportSize);

    column->addSpacing(4);
    column->addWidget(InspectorSection::caption(tr("App Store 심사용 iPhone 크기")));
    m_orientation = new DesignSegmented;
    column->addWidget(m_orientation);
    for (const CanvasRatio::DeviceSize& device : CanvasRatio::iPhoneAppStoreSizes()) {
        auto* pill = new DesignPill(device.inches);
        connect(pill, &QAbstractButton::clicked, this,
                [this, device] { m_doc.setRatio(device.ratio(m_preferLandscape)); });
        m_devices.push_back(pill);
    }
    column->addWidget(flow(m_devices));
    refresh();
}

QString CanvasRatioPicker::exportSizeText(const EditorState& state)
{
    const auto pixels = state.ratio.pixelSize();
    const Rect canvas = state.canvasRect();
    const QString size = pixels ? times(pixels->first, pixels->second) : times(canvas.width, canvas.height);
    return tr("내보내기 크기: ") + size + QStringLiteral(" px");
}

void CanvasRatioPicker::refresh()
{
    const CanvasRatio& ratio = m_doc.ratio();
    const auto& presets = CanvasRatio::presets();
    for (std::size_t i = 0; i < presets.size(); ++i)
        m_presets[i]->setSelected(presets[i].ratio == ratio);
    m_custom->setSelected(ratio.isCustom());
    m_exportSize->setText(exportSizeText(m_doc.state()));
    refreshDevices();
}

void CanvasRatioPicker::refreshDevices()
{
    const auto item = [this](const QString& title, bool landscape) {
        return DesignSegmented::Item{title, m_preferLandscape == landscape, [this, landscape] {
                                         m_preferLandscape = landscape;
                                         refreshDevices();
                                     }};
    };
    m_orientation->setItems({item(tr("세로 방향"), false), item(tr("가로 방향"), true)});
    const auto& devices = CanvasRatio::iPhoneAppStoreSizes();
    for (std::size_t i = 0; i < devices.size(); ++i) {
        const CanvasRatio sized = devices[i].ratio(m_preferLandscape);
        const auto [width, height] = *sized.pixelSize();
        m_devices[i]->setText(devices[i].inches + QStringLiteral(" · ") + times(width, height));
        m_devices[i]->setSelected(m_doc.ratio() == sized);
        m_devices[i]->updateGeometry();
    }
}

void CanvasRatioPicker::openCustom()
{
    if (m_customWidth.isEmpty() || m_customHeight.isEmpty()) {
        const CanvasRatio& ratio = m_doc.ratio();
        const bool fixed = ratio.kind() == CanvasRatio::Kind::fixed;
        m_customWidth = CustomRatioPopover::partText(fixed ? ratio.width() : 16);
        m_customHeight = CustomRatioPopover::partText(fixed ? ratio.height() : 9);
    }
    m_popover = new CustomRatioPopover(m_customWidth, m_customHeight, [this](const CanvasRatio& ratio) {
        m_doc.setRatio(ratio);
    }, this);
    // The typed parts stay for the next opening while this panel lives.
    connect(m_popover->widthField(), &QLineEdit::textChanged, this, [this](const QString& text) { m_customWidth = text; });
    connect(m_popover->heightField(), &QLineEdit::textChanged, this, [this](const QString& text) { m_customHeight = text; });
    m_popover->adjustSize();
    m_popover->move(m_custom->mapToGlobal(QPoint(m_custom->width() / 2 - m_popover->width() / 2, m_custom->height() + 6)));
    m_popover->show();
}

} // namespace lumivex
