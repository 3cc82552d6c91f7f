#pragma once

#include <QAbstractButton>

namespace lumivex {

// A square toolbar button showing one of our icons; its help text is the tooltip (and the accessible name).
class IconButton : public QAbstractButton {
    Q_OBJECT

public:
    static constexpr int size = 34;

    IconButton(const QString& icon, const QString& help, QWidget* parent = nullptr);

    const QString& iconName() const { return m_icon; }
    QString help() const { return toolTip(); }
    void setHelp(const QString& help);
    // A chosen tool is shown raised in the brand gradient; a toggle that is on, in a light brand tint.
    bool isSelected() const { return m_selected; }
    void setSelected(bool selected);
    void setToggle(bool toggle);

    QSize sizeHint() const override { return {size, size}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_icon;
    bool m_selected = false;
    bool m_toggle = false;
};

} // namespace lumivex
