#pragma once

#include "app/editor/CanvasTransform.h"
#include "core/geometry/Point.h"

#include <QPointF>
#include <QUuid>

#include <optional>

namespace lumivex {

class EditorDocument;

// A polygon drawn click by click. Its point list always ends with one floating point that follows the mouse;
// the fixed vertices are all the others. The whole draft is one interaction of the document: finishing it
// records one "추가" step, discarding it leaves no trace. While it lasts, clicks only add vertices.
class PolygonDrafting {
public:
    // How close (view points) a click must come to the first vertex to close the polygon.
    static constexpr double closeReach = 10;

    explicit PolygonDrafting(EditorDocument& document);

    std::optional<QUuid> draft() const { return m_draft; }
    bool isDrafting() const { return m_draft.has_value(); }

    // Starts a draft, adds a vertex, or finishes on the first vertex or a double click.
    void click(Point p, QPointF viewPoint, const CanvasTransform& transform, int clickCount);
    void follow(Point p);
    // Keeps a polygon of at least three vertices (dropping the floating point); anything less is discarded.
    void finish(bool switchToSelect);
    void cancel();
    // Removes the last fixed vertex; with only the first one left, discards the draft.
    void removeLastPoint();

private:
    EditorDocument& m_doc;
    std::optional<QUuid> m_draft;
};

} // namespace lumivex
