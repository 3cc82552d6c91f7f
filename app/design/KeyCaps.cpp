#include "app/design/KeyCaps.h"

#include <QHBoxLayout>

namespace lumivex {

KeyCaps::KeyCaps(const QStringList& caps, KeyCap::Style style, QWidget* parent)
    : QWidget(parent)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(3);
    for (const QString& cap : caps)
        row->addWidget(new KeyCap(cap, style));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QStringList KeyCaps::caps() const
{
    QStringList result;
    for (const KeyCap* cap : findChildren<KeyCap*>(QString(), Qt::FindDirectChildrenOnly))
        result.append(cap->text());
    return result;
}

} // namespace lumivex
