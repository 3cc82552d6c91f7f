#include "app/editor/CustomRatioPopover.h"

#include "app/design/Appearance.h"
#include "app/design/Design.h"
#include "app/design/DesignButton.h"
#include "app/editor/InspectorSection.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QVBoxLayout>

namespace lumivex {

namespace {

std::optional<double> number(const QString& text)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    return ok ? std::optional(value) : std::nullopt;
}

bool partInRange(const QString& text)
{
    const auto value = number(text);
    const auto [low, high] = CanvasRatio::allowedRange;
    return value && *value >= low && *value <= high;
}

QLineEdit* field(const QString& text, const QString& name)
{
    auto* edit = new QLineEdit(text);
    edit->setAccessibleName(name);
    edit->setPlaceholderText(name);
    edit->setAlignment(Qt::AlignCenter);
    edit->setFixedWidth(72);
    edit->setFont(Design::font(13));
    return edit;
}

} // namespace

CustomRatioPopover::CustomRatioPopover(const QString& width, const QString& height,
                                       std::function<void(const CanvasRatio&)> onApply, QWidget* parent)
    : QWidget(parent, Qt::Popup)
    , m_width(field(width, tr("가로")))
    , m_height(field(height, tr("세로")))
    , m_apply(new DesignButton(tr("적용"), DesignButton::Kind::primary))
    , m_cancel(new DesignButton(tr("취소")))
    , m_onApply(std::move(onApply))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_WindowPropagation);
    setFixedWidth(280);
    Appearance::instance().style(this);
    setAutoFillBackground(true);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(16, 14, 16, 14);
    column->setSpacing(10);
    auto* title = new QLabel(tr("사용자 지정 비율"));
    title->setFont(Design::font(14, QFont::DemiBold));
    column->addWidget(title);
    column->addWidget(InspectorSection::hint(tr("1 ~ 100 사이의 숫자로 가로와 세로 비율을 입력하세요. 예: 16 : 9")));

    auto* fields = new QHBoxLayout;
    fields->setSpacing(8);
    fields->addStretch(1);
    fields->addWidget(m_width);
    auto* colon = new QLabel(QStringLiteral(":"));
    colon->setFont(Design::font(15, QFont::DemiBold));
    fields->addWidget(colon);
    fields->addWidget(m_height);
    fields->addStretch(1);
    column->addLayout(fields);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_apply);
    column->addLayout(buttons);

    connect(m_width, &QLineEdit::textChanged, this, &CustomRatioPopover::validate);
    connect(m_height, &QLineEdit::textChanged, this, &CustomRatioPopover::validate);
    connect(m_width, &QLineEdit::returnPressed, this, &CustomRatioPopover::apply);
    connect(m_height, &QLineEdit::returnPressed, this, &CustomRatioPopover::apply);
    connect(m_apply, &QAbstractButton::clicked, this, &CustomRatioPopover::apply);
    connect(m_cancel, &QAbstractButton::clicked, this, &QWidget::close);
    validate();
}

QString CustomRatioPopover::partText(double value)
{
    return QLocale::c().toString(value, 'g', QLocale::FloatingPointShortest);
}

std::optional<CanvasRatio> CustomRatioPopover::ratio(const QString& width, const QString& height)
{
    const auto w = number(width);
    const auto h = number(height);
    if (!w || !h)
        return std::nullopt;
    return CanvasRatio::custom(*w, *h);
}

void CustomRatioPopover::validate()
{
    const bool acceptable = ratio(m_width->text(), m_height->text()).has_value();
    const bool bothInRange = partInRange(m_width->text()) && partInRange(m_height->text());
    for (QLineEdit* edit : {m_width, m_height}) {
        // Two parts in range can still make a ratio the canvas cannot take (100 : 1): then both are marked.
        const bool fine = acceptable || (!bothInRange && partInRange(edit->text()));
        QPalette palette = edit->palette();
        palette.setColor(QPalette::Text, fine ? Design::color(Design::Token::ink) : Design::invalidInput());
        edit->setPalette(palette);
        edit->setStyleSheet(fine ? QString()
                                 : QStringLiteral("QLineEdit { border: 1.5px solid %1; border-radius: 5px; padding: 3px; }")
                                       .arg(Design::invalidInput().name()));
    }
    m_apply->setEnabled(acceptable);
}

void CustomRatioPopover::apply()
{
    const auto chosen = ratio(m_width->text(), m_height->text());
    if (!chosen)
        return;
    if (m_onApply)
        m_onApply(*chosen);
    close();
}

} // namespace lumivex
