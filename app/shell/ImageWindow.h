#pragma once

#include <QImage>
#include <QWidget>

namespace lumivex {

// A plain window that shows one picture, scaled to fit. The first face of the editor.
class ImageWindow : public QWidget {
    Q_OBJECT
public:
    ImageWindow(QImage image, const QString& title, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_image;
};

} // namespace lumivex
