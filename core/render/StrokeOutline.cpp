#include "core/render/StrokeOutline.h"

#include <QPainterPathStroker>

#include <deque>
#include <mutex>

namespace lumivex::StrokeOutline {

namespace {

// Enough for the texts and arrows of a busy picture; first in, first out.
constexpr std::size_t capacity = 128;

struct Entry {
    QPainterPath shape;
    double width = 0;
    QPainterPath outline;
};

class Cache {
public:
    QPainterPath around(const QPainterPath& shape, double width)
    {
        {
            const std::lock_guard lock(m_mutex);
            for (const Entry& entry : m_entries)
                if (entry.width == width && entry.shape == shape)
                    return entry.outline;
        }
        QPainterPathStroker stroker;
        stroker.setWidth(2 * width);
        stroker.setCapStyle(Qt::RoundCap);
        stroker.setJoinStyle(Qt::RoundJoin);
        QPainterPath outline = stroker.createStroke(shape).simplified();
        outline.setFillRule(Qt::WindingFill);
        const std::lock_guard lock(m_mutex);
        m_entries.push_back({shape, width, outline});
        if (m_entries.size() > capacity)
            m_entries.pop_front();
        return outline;
    }

private:
    std::mutex m_mutex; // a picture may be rendered off the main thread (for analysis)
    std::deque<Entry> m_entries;
};

} // namespace

QPainterPath around(const QPainterPath& shape, double width)
{
    static Cache cache;
    return cache.around(shape, width);
}

} // namespace lumivex::StrokeOutline
