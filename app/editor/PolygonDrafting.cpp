#include "app/editor/PolygonDrafting.h"

#include "core/document/EditorDocument.h"
#include "core/document/UndoActionNames.h"
#include "core/model/Tool.h"

#include <cmath>
#include <utility>

namespace lumivex {

PolygonDrafting::PolygonDrafting(EditorDocument& document)
    : m_doc(document)
{
}

void PolygonDrafting::click(Point p, QPointF viewPoint, const CanvasTransform& transform, int clickCount)
{
    const auto draft = m_draft ? m_doc.annotation(*m_draft) : std::nullopt;
    if (!draft) {
        m_doc.beginInteraction();
        Annotation polygon = m_doc.makeAnnotation(AnnotationKind::polygon);
        polygon.points = {p, p};
        m_doc.addTransient(polygon);
        m_draft = polygon.id;
        return;
    }
    const auto& points = draft->points;
    const QPointF first = transform.toView(points.front());
    const bool onFirst = points.size() > 3
        && std::hypot(first.x() - viewPoint.x(), first.y() - viewPoint.y()) <= closeReach;
    if (onFirst || clickCount > 1) {
        finish(true);
        return;
    }
    // The floating point becomes a fixed vertex here, and a new floating point follows the mouse.
    m_doc.modify(draft->id, [&](Annotation& a) {
        if (a.points.empty())
            a.points.push_back(p);
        else
            a.points.back() = p;
        a.points.push_back(p);
    });
}

void PolygonDrafting::follow(Point p)
{
    if (!m_draft)
        return;
    m_doc.modify(*m_draft, [&](Annotation& a) {
        if (!a.points.empty())
            a.points.back() = p;
    });
}

void PolygonDrafting::finish(bool switchToSelect)
{
    const auto id = std::exchange(m_draft, std::nullopt);
    if (!id)
        return;
    const auto draft = m_doc.annotation(*id);
    if (!draft || draft->points.size() <= 3) {
        m_doc.cancelInteraction();
        return;
    }
    m_doc.modify(*id, [](Annotation& a) { a.points.pop_back(); });
    m_doc.endInteraction(UndoActionNames::add());
    if (switchToSelect && !m_doc.stickyTool())
        m_doc.setTool(Tool::select);
}

void PolygonDrafting::cancel()
{
    m_draft.reset();
    m_doc.cancelInteraction();
}

void PolygonDrafting::removeLastPoint()
{
    const auto draft = m_draft ? m_doc.annotation(*m_draft) : std::nullopt;
    if (!draft || draft->points.size() < 3) {
        cancel();
        return;
    }
    m_doc.modify(draft->id, [](Annotation& a) { a.points.erase(a.points.end() - 2); });
}

} // namespace lumivex
