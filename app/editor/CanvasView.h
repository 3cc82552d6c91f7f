#pragma once

#include "app/editor/CanvasDrag.h"
#include "app/editor/CanvasScene.h"
#include "app/editor/CanvasTransform.h"
#include "app/editor/PolygonDrafting.h"
#include "core/geometry/Point.h"
#include "core/geometry/Rect.h"
#include "core/model/Annotation.h"
#include "core/model/Handle.h"

#include <QTimer>
#include <QUuid>
#include <QWidget>

#include <functional>
#include <optional>

namespace lumivex {

class EditorDocument;
class CanvasTextSession;

// The picture being edited, in the middle of the editor window. It turns mouse gestures, the tool keys and text
// input into document operations (the commands such as undo, copy or delete are the window's actions): every gesture goes through the document's interaction bracket or one of its named
// operations, so one gesture is exactly one undo step with a fixed name, or none. Geometry (hit tests,
// handles, dragging, crop rectangles) belongs to the core; the view adds the mapping to view points,
// tolerances in view points, the gesture state, key bindings, the inline text editor and polygon drafting.
class CanvasView : public QWidget {
    Q_OBJECT

public:
    // Receives the region (image pixels) chosen with the text-recognition tool.
    using CopyTextHandler = std::function<void(const Rect&)>;

    // Tolerances and thresholds, in view points unless stated otherwise.
    static constexpr double hitTolerance = 6;
    static constexpr double handleReach = 10;
    static constexpr double cropHandleReach = 11;
    static constexpr double minimumShapeSize = 4;
    static constexpr double minimumRegionSize = 8;
    static constexpr double cropMinimumSize = 8; // image pixels
    static constexpr int textRegionLingerMs = 900;

    explicit CanvasView(EditorDocument& document, CopyTextHandler onCopyText = {}, QWidget* parent = nullptr);
    ~CanvasView() override;

    EditorDocument& document() const { return m_doc; }
    CanvasTransform transform() const;

    // Gesture state, for the window and for tests.
    bool isDragging() const { return m_drag.has_value(); }
    const CanvasTextSession& textSession() const { return *m_text; }
    const CanvasScene& scene() const { return m_scene; }
    std::optional<QUuid> polygonDraft() const { return m_polygon.draft(); }
    std::optional<Rect> textRegion() const { return m_textRegion; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // ---- mouse
    void press(QPointF viewPoint, int clickCount);
    bool pressWithTool(Point p, QPointF viewPoint, const CanvasTransform& transform, int clickCount);
    bool pressOnSelectionOrObject(Point p, QPointF viewPoint, const CanvasTransform& transform, int clickCount);
    void startTextRegion(Point p);
    void startText(Point p);
    void startShape(Point p);
    void cropMouseDown(Point p, QPointF viewPoint, const CanvasTransform& transform, int clickCount);
    std::optional<Handle> handleHit(const Annotation& annotation, QPointF viewPoint,
                                    const CanvasTransform& transform) const;
    std::optional<Annotation> textAnnotationAt(Point p, double tolerance) const;
    void drag(Point p, bool shift);
    void release();
    void finishCreate(const CanvasDrags::Create& create, double minimum);
    void finishTextRegion(double minimum);
    Point clampedToVisible(Point p) const;

    // A tool change ends a polygon draft, keeping it when it has three vertices.
    void finishPolygonAfterToolChange();

    // ---- keys
    // Whether a gesture in progress needs this key, ahead of the window's commands.
    bool gestureClaims(const QKeyEvent& event) const;
    bool chooseToolByKey(std::uint16_t keyCode, bool isAutoRepeat);
    void nudge(std::uint16_t keyCode, bool large);

    // ---- document observation and drawing
    void documentChanged();
    std::optional<QUuid> activeAnnotation() const;
    QColor backdropColour() const;

    EditorDocument& m_doc;
    std::optional<CanvasDrag> m_drag;
    bool m_moved = false;
    std::optional<Rect> m_textRegion;
    QTimer m_textRegionClear;
    CopyTextHandler m_onCopyText;
    CanvasTextSession* m_text = nullptr; // owned as a child
    PolygonDrafting m_polygon;
    CanvasScene m_scene;
};

} // namespace lumivex
