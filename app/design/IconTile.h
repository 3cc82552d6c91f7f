#pragma once

#include <QWidget>

namespace lumivex {

// An icon in white on a rounded square of the brand gradient: the mark of a feature in headers and guides.
class IconTile : public QWidget {
    Q_OBJECT

public:
    IconTile(const QString& icon, int size, QWidget* parent = nullptr);

    QSize sizeHint() const override { return {m_size, m_size}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_icon;
    int m_size;
};

} // namespace lumivex
