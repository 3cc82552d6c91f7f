#pragma once

#include <QAbstractButton>

namespace lumivex {

// A small capsule choice, as in a row of presets: selected pills are filled with the brand gradient.
class DesignPill : public QAbstractButton {
    Q_OBJECT

public:
    explicit DesignPill(const QString& title, bool selected = false, const QString& help = {}, QWidget* parent = nullptr);

    bool isSelected() const { return m_selected; }
    void setSelected(bool selected);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_selected;
};

} // namespace lumivex
