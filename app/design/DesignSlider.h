#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

#include <functional>

namespace lumivex {

// A labelled slider: the label on the left, the formatted value on the right, the track below. Dragging or
// clicking the track and the arrow keys change the value; valueChanged reports only the user's changes.
class DesignSlider : public QWidget {
    Q_OBJECT

public:
    using Format = std::function<QString(double)>;

    DesignSlider(const QString& label, double minimum, double maximum, QWidget* parent = nullptr);

    // "12 px": the default format, a whole number of pixels.
    static QString pixels(double value);
    // "85%": a fraction shown as a whole percentage.
    static QString percent(double value);

    QString label() const { return m_label; }
    double minimum() const { return m_minimum; }
    double maximum() const { return m_maximum; }
    double value() const { return m_value; }
    // Shows the value (clamped to the range); emits nothing.
    void setValue(double value);
    void setFormat(Format format);
    void setThumb(const QColor& color);
    QString valueText() const;

    // Where the track starts and ends, in widget coordinates (for the mouse and for tests).
    QRectF trackRect() const;

    QSize sizeHint() const override;

Q_SIGNALS:
    void valueChanged(double value);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void setFromUser(double value);
    double valueAt(double x) const;

    QString m_label;
    double m_minimum;
    double m_maximum;
    double m_value;
    Format m_format;
    QColor m_thumb = Qt::white;
};

} // namespace lumivex
