#pragma once

#include <QWidget>

namespace lumivex {

// A one-point line in the hairline colour between two areas: horizontal, or vertical (VHairline).
class Hairline : public QWidget {
    Q_OBJECT

public:
    explicit Hairline(Qt::Orientation orientation = Qt::Horizontal, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The vertical hairline.
inline Hairline* makeVHairline(QWidget* parent = nullptr) { return new Hairline(Qt::Vertical, parent); }

} // namespace lumivex
