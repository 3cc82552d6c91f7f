#pragma once

#include "core/model/BlurStyle.h"

#include <QImage>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <unordered_map>

namespace lumivex {

// The last blurred patches of one document, so that repainting the canvas does not run the filter again for
// blur regions that did not change. The base image of a document never changes, so keys need not name it.
// Eviction is first-in, first-out: a lookup does not make an entry younger. Not safe for concurrent use.
class BlurCache {
public:
    struct Key {
        int x = 0;
        int y = 0;
        int w = 0;
        int h = 0;
        BlurStyle style = BlurStyle::gaussian;
        // The blur amount in quarter pixels, rounded to nearest.
        std::int64_t amount = 0;

        bool operator==(const Key&) const = default;
    };

    static constexpr std::size_t capacity = 32;

    BlurCache() = default;
    BlurCache(const BlurCache&) = delete;
    BlurCache& operator=(const BlurCache&) = delete;

    std::optional<QImage> image(const Key& key) const;
    // Replaces the image of a key already stored without changing its place in the eviction order.
    void store(const QImage& image, const Key& key);

    std::size_t count() const { return m_entries.size(); }

private:
    struct KeyHash {
        std::size_t operator()(const Key& key) const;
    };

    std::unordered_map<Key, QImage, KeyHash> m_entries;
    std::deque<Key> m_order; // oldest first
};

} // namespace lumivex
