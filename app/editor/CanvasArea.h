#pragma once

#include <QPointer>
#include <QWidget>

namespace lumivex {

class CanvasView;
class TextBanner;

// The middle of the editor: the canvas, with the text banner floating over its bottom edge. Banners come in from
// the bottom edge while fading in, and leave the same way.
class CanvasArea : public QWidget {
    Q_OBJECT

public:
    explicit CanvasArea(CanvasView* canvas, QWidget* parent = nullptr);

    CanvasView* canvas() const { return m_canvas; }
    // The banner shown (or coming in); none while no banner is chosen.
    TextBanner* banner() const { return m_banner; }
    // Shows `banner` (the area takes it) in place of the current one, or none.
    void setBanner(TextBanner* banner);

    static constexpr int bannerMargin = 18;
    static constexpr int slideMs = 220;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QPoint restingPosition(const QWidget* banner) const;
    void slide(TextBanner* banner, bool in);

    CanvasView* m_canvas;
    QPointer<TextBanner> m_banner;
};

} // namespace lumivex
