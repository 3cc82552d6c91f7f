#pragma once

#include <QAbstractButton>

namespace lumivex {

// An on/off control with its title: a checkbox, or a switch with the title on the left and the switch on the
// right edge (the form the panels use for a setting that changes something at once).
class DesignToggle : public QAbstractButton {
    Q_OBJECT

public:
    enum class Style { checkbox, switchControl };

    explicit DesignToggle(const QString& title, Style style = Style::switchControl, QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }

private:
    void paintSwitch(QPainter& painter, const QRectF& box) const;
    void paintCheckbox(QPainter& painter, const QRectF& box) const;

    Style m_style;
};

} // namespace lumivex
