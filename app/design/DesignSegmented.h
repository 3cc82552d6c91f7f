#pragma once

#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

namespace lumivex {

// A row of mutually exclusive choices on a sunken track; the selected one is raised. The owner decides what is
// selected (each item says so) and sets the items again when that changes.
class DesignSegmented : public QWidget {
    Q_OBJECT

public:
    struct Item {
        QString title;
        bool isSelected = false;
        std::function<void()> action;
    };

    explicit DesignSegmented(std::vector<Item> items = {}, QWidget* parent = nullptr);

    const std::vector<Item>& items() const { return m_items; }
    void setItems(std::vector<Item> items);
    // The area of one item, in widget coordinates.
    QRect itemRect(int index) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::vector<Item> m_items;
};

} // namespace lumivex
