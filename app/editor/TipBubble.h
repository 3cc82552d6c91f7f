#pragma once

#include <QWidget>

#include <functional>

class QLabel;

namespace lumivex {

// A small speech bubble that points up at a control to introduce it; clicking it runs its action.
class TipBubble : public QWidget {
    Q_OBJECT

public:
    TipBubble(const QString& text, std::function<void()> onClick, QWidget* parent = nullptr);

    QString text() const;
    static constexpr int arrowHeight = 7;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QLabel* m_label;
    std::function<void()> m_onClick;
};

} // namespace lumivex
