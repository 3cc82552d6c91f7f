#pragma once

#include "app/platform/DisplayShot.h"
#include "core/capture/WindowInfo.h"
#include "core/geometry/Point.h"
#include "core/geometry/Rect.h"

#include <QPointer>
#include <QWidget>

#include <optional>

namespace lumivex {

class CaptureSession;

// The content of one overlay: the display's frozen image dimmed, with the area being selected (area mode) or
// the window under the pointer (window mode) shown undimmed. Its coordinates are the display's points with
// the origin at the display's top-left corner, so a point here plus the display's global origin is a point in
// the space of the window frames. Whatever is picked is cut out of the frozen image, never grabbed again.
class CaptureOverlayView : public QWidget {
    Q_OBJECT

public:
    CaptureOverlayView(const DisplayShot& shot, CaptureSession* session, QWidget* parent);

    const DisplayShot& shot() const { return m_shot; }
    std::optional<Point> dragStart() const { return m_dragStart; }
    std::optional<Rect> selection() const { return m_selection; }
    std::optional<WindowInfo> hoveredWindow() const { return m_hoveredWindow; }
    std::optional<Point> mouse() const { return m_mouse; }
    // Whether this overlay shows the hint: its display holds the pointer.
    bool showsHint() const;

    // After a mode change: no selection, no drag, the hovered window and the cursor following the mode.
    void refresh();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool isActive() const;
    bool inWindowMode() const;
    Rect bounds() const;
    Vector displayOffset() const;
    // The hovered window's frame in this view's coordinates, cut to the display.
    std::optional<Rect> hoveredRect() const;
    void updateHoveredWindow();
    void dragTo(Point point);
    void finishArea();
    void finishWith(const Rect& rect);
    void finishWithWholeDisplay();
    void switchMode();

    void drawFrozen(QPainter& painter, const QRectF& area) const;
    void drawPill(QPainter& painter, const QString& text, std::optional<Point> origin) const;

    DisplayShot m_shot;
    QPointer<CaptureSession> m_session;
    std::optional<Point> m_dragStart;
    std::optional<Rect> m_selection;
    std::optional<WindowInfo> m_hoveredWindow;
    std::optional<Point> m_mouse;
};

} // namespace lumivex
