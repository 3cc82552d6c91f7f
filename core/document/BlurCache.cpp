#include "core/document/BlurCache.h"

#include <functional>

namespace lumivex {

std::size_t BlurCache::KeyHash::operator()(const Key& key) const
{
    std::size_t seed = 0;
    auto mix = [&seed](std::int64_t value) {
        // The usual hash_combine step; keys differ mostly in small integers, which this spreads well.
        seed ^= std::hash<std::int64_t>{}(value) + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
    };
    mix(key.x);
    mix(key.y);
    mix(key.w);
    mix(key.h);
    mix(static_cast<std::int64_t>(key.style));
    mix(key.amount);
    return seed;
}

std::optional<QImage> BlurCache::image(const Key& key) const
{
    const auto it = m_entries.find(key);
    if (it == m_entries.end())
        return std::nullopt;
    return it->second;
}

void BlurCache::store(const QImage& image, const Key& key)
{
    const bool inserted = m_entries.insert_or_assign(key, image).second;
    if (inserted)
        m_order.push_back(key);
    while (m_order.size() > capacity) {
        m_entries.erase(m_order.front());
        m_order.pop_front();
    }
}

} // namespace lumivex
