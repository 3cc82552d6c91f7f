#pragma once

#include <QWidget>

class QHBoxLayout;

namespace lumivex {

// A run of toolbar buttons on one rounded plate.
class ToolGroup : public QWidget {
    Q_OBJECT

public:
    explicit ToolGroup(QWidget* parent = nullptr);

    void add(QWidget* button);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QHBoxLayout* m_row;
};

} // namespace lumivex
