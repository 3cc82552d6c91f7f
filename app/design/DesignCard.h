#pragma once

#include <QWidget>

class QVBoxLayout;

namespace lumivex {

// A rounded panel on the card colour with a thin border; its content is stacked vertically.
class DesignCard : public QWidget {
    Q_OBJECT

public:
    explicit DesignCard(int spacing = 10, QMargins insets = QMargins(12, 12, 12, 12), QWidget* parent = nullptr);

    QVBoxLayout* content() const { return m_content; }
    void add(QWidget* widget);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QVBoxLayout* m_content;
};

} // namespace lumivex
