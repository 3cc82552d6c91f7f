#pragma once

#include "core/model/StickerSource.h"

#include <QAbstractButton>
#include <QPixmap>

namespace lumivex {

// One square of the sticker picker's grids: an emoji or a picture, drawn to fit, with a hover highlight.
class StickerCell : public QAbstractButton {
    Q_OBJECT

public:
    StickerCell(StickerSource source, int size, QWidget* parent = nullptr);

    const StickerSource& source() const { return m_source; }
    QSize sizeHint() const override { return {m_size, m_size}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    const QPixmap& picture();

    StickerSource m_source;
    int m_size;
    bool m_hovered = false;
    QPixmap m_picture; // drawn once: emoji glyphs are laid out large and scaled down
};

} // namespace lumivex
