#include "app/editor/TextBanner.h"

#include "app/design/Design.h"
#include "app/design/DesignButton.h"
#include "app/design/IconTile.h"
#include "app/editor/IconButton.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>

namespace lumivex {

TextBanner* TextBanner::textFound(int characterCount, std::function<void()> onCopy, std::function<void()> onClose,
                                  QWidget* parent)
{
    return new TextBanner(Kind::textFound, characterCount, tr("텍스트 복사"), std::move(onCopy), std::move(onClose),
                          parent);
}

TextBanner* TextBanner::copiedText(int characterCount, std::function<void()> onEdit, std::function<void()> onClose,
                                   QWidget* parent)
{
    return new TextBanner(Kind::copiedText, characterCount, tr("편집"), std::move(onEdit), std::move(onClose), parent);
}

TextBanner::TextBanner(Kind kind, int characterCount, const QString& actionTitle, std::function<void()> onAction,
                       std::function<void()> onClose, QWidget* parent)
    : QWidget(parent)
    , m_kind(kind)
    , m_count(characterCount)
    , m_message(new QLabel(message(kind, characterCount)))
    , m_action(new DesignButton(actionTitle, kind == Kind::textFound ? DesignButton::Kind::primary
                                                                      : DesignButton::Kind::plain))
    , m_close(new IconButton(QStringLiteral("xmark"), tr("닫기")))
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(12, 10, 8, 10);
    row->setSpacing(10);
    row->addWidget(new IconTile(kind == Kind::textFound ? QStringLiteral("scan-text") : QStringLiteral("check"), 28));
    m_message->setFont(Design::font(13, QFont::Medium));
    row->addWidget(m_message, 1);
    row->addWidget(m_action);
    m_close->setFixedSize(28, 28);
    row->addWidget(m_close);
    connect(m_action, &QAbstractButton::clicked, this, [onAction = std::move(onAction)] {
        if (onAction)
            onAction();
    });
    connect(m_close, &QAbstractButton::clicked, this, [onClose = std::move(onClose)] {
        if (onClose)
            onClose();
    });
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QString TextBanner::message(Kind kind, int characterCount)
{
    return kind == Kind::textFound ? tr("글자 %1자를 찾았습니다").arg(characterCount)
                                   : tr("텍스트 %1자 복사됨").arg(characterCount);
}

void TextBanner::setCharacterCount(int count)
{
    m_count = count;
    m_message->setText(message(m_kind, count));
}

QString TextBanner::text() const
{
    return m_message->text();
}

void TextBanner::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(4, 2, -4, -6);
    // A soft shadow lifts the banner off the picture.
    for (int i = 4; i >= 1; --i) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 0, 0, 10));
        painter.drawRoundedRect(box.adjusted(-i * 0.75, -i * 0.25, i * 0.75, i * 1.1), 14 + i, 14 + i);
    }
    painter.setPen(QPen(Design::color(Design::Token::cardBorder), 1));
    painter.setBrush(Design::color(Design::Token::card));
    painter.drawRoundedRect(box, 14, 14);
}

} // namespace lumivex
