#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QColorDialog>
#include <QPointer>



namespace lumivex {

// A colour swatch; clicking it opens the colour panel, whose every change is forwarded as colorChanged (so a
// drag through the panel restyles live).
class DesignColorWell : public QAbstractButton {
    Q_OBJECT

public:
    explicit DesignColorWell(const QColor& color = Qt::black, QWidget* parent = nullptr);

    QColor color() const { return m_color; }
    // Shows the colour; emits nothing.
    void setColor(const QColor& color);
    // The colour panel while it is open.
    QColorDialog* panel() const { return m_panel; }
    void openPanel();

    QSize sizeHint() const override { return {38, 24}; }

Q_SIGNALS:
    void colorChanged(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_color;
    QPointer<QColorDialog> m_panel;
};

} // namespace lumivex
