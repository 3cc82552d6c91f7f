#include "app/editor/FaceCoverGuide.h"

#include "app/design/Appearance.h"
#include "app/design/Design.h"
#include "app/design/DesignButton.h"
#include "app/design/IconTile.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace lumivex {

FaceCoverGuide::FaceCoverGuide(std::function<void()> onDismissForGood, QWidget* parent)
    : QWidget(parent, Qt::Popup)
    , m_dismiss(new DesignButton(tr("다시 보지 않기")))
    , m_close(new DesignButton(tr("닫기"), DesignButton::Kind::primary))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_WindowPropagation);
    setFixedWidth(guideWidth);
    Appearance::instance().style(this);
    setAutoFillBackground(true);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(16, 16, 16, 14);
    column->setSpacing(10);
    auto* header = new QHBoxLayout;
    header->setSpacing(10);
    header->addWidget(new IconTile(QStringLiteral("smile-dashed"), 32));
    auto* title = new QLabel(tr("얼굴 자동 가리기 사용법"));
    title->setFont(Design::font(14, QFont::DemiBold));
    header->addWidget(title, 1);
    column->addLayout(header);

    const QStringList texts = steps();
    for (int i = 0; i < texts.size(); ++i) {
        auto* row = new QHBoxLayout;
        row->setSpacing(8);
        auto* number = new QLabel(QString::number(i + 1));
        number->setFont(Design::font(12, QFont::Bold));
        number->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        number->setFixedWidth(16);
        auto* text = new QLabel(texts[i]);
        text->setFont(Design::font(12));
        text->setWordWrap(true);
        row->addWidget(number, 0, Qt::AlignTop);
        row->addWidget(text, 1);
        column->addLayout(row);
    }

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_dismiss);
    buttons->addStretch(1);
    buttons->addWidget(m_close);
    column->addLayout(buttons);
    connect(m_dismiss, &QAbstractButton::clicked, this, [this, onDismissForGood = std::move(onDismissForGood)] {
        if (onDismissForGood)
            onDismissForGood();
        close();
    });
    connect(m_close, &QAbstractButton::clicked, this, &QWidget::close);
}

QStringList FaceCoverGuide::steps()
{
    return {tr("툴바에서 얼굴 가리기 버튼(점선 웃는 얼굴)을 누릅니다."),
            tr("가리는 방법을 고릅니다: 채운 타원, 블러, 모자이크, 랜덤 스티커, 내가 고른 스티커."),
            tr("사진 속 얼굴을 자동으로 찾아 한 번에 가립니다. 마음에 안 들면 Ctrl+Z로 한 번에 되돌릴 수 있습니다."),
            tr("스티커는 선택해서 옮기거나 크기를 바꿀 수 있습니다. 놓친 얼굴은 도형·블러 도구로 직접 가려 주세요.")};
}

} // namespace lumivex
