#include "app/editor/InspectorSection.h"

#include "app/design/Design.h"
#include "app/design/DesignIcon.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace lumivex {

InspectorSection::InspectorSection(QWidget* parent)
    : DesignCard(10, QMargins(14, 12, 14, 14), parent)
{
}

void InspectorSection::onRefresh(std::function<void()> refresher)
{
    refresher();
    m_refreshers.push_back(std::move(refresher));
}

void InspectorSection::refresh()
{
    for (const auto& refresher : m_refreshers)
        refresher();
}

QWidget* InspectorSection::addHeader(const QString& title, const QString& icon)
{
    auto* header = new QWidget;
    auto* line = new QHBoxLayout(header);
    line->setContentsMargins(0, 0, 0, 2);
    line->setSpacing(6);
    if (!icon.isEmpty())
        line->addWidget(new DesignIcon(icon, 16, Design::Token::ink));
    auto* label = new QLabel(title);
    label->setFont(Design::font(13, QFont::DemiBold));
    line->addWidget(label, 1);
    add(header);
    return header;
}

QLabel* InspectorSection::addHint(const QString& text)
{
    QLabel* label = hint(text);
    add(label);
    return label;
}

QLabel* InspectorSection::hint(const QString& text)
{
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    label->setFont(Design::font(11));
    // The palette's placeholder colour is the secondary ink token.
    label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

QLabel* InspectorSection::caption(const QString& text)
{
    auto* label = new QLabel(text);
    label->setFont(Design::font(12, QFont::Medium));
    return label;
}

QWidget* InspectorSection::row(QWidget* left, QWidget* right)
{
    auto* row = new QWidget;
    auto* line = new QHBoxLayout(row);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(8);
    line->addWidget(left, 1);
    line->addWidget(right, 0, Qt::AlignRight | Qt::AlignVCenter);
    return row;
}

} // namespace lumivex
