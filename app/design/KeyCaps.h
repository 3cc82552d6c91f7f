#pragma once

#include "app/design/KeyCap.h"

#include <QStringList>
#include <QWidget>

namespace lumivex {

// A shortcut as a row of key caps, one per key ("Ctrl", "Shift", "E").
class KeyCaps : public QWidget {
    Q_OBJECT

public:
    KeyCaps(const QStringList& caps, KeyCap::Style style = KeyCap::Style::plain, QWidget* parent = nullptr);

    QStringList caps() const;
};

} // namespace lumivex
