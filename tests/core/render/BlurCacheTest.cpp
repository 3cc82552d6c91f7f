#include "core/render/BlurCache.h"

#include <gtest/gtest.h>

using namespace lumivex;

namespace {

BlurCache::Key keyNumber(int n) { return {n, 0, 10, 10, BlurStyle::gaussian, 64}; }

QImage imageOfWidth(int width)
{
    QImage image(width, 1, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::red);
    return image;
}

void fill(BlurCache& cache)
{
    for (int n = 0; n < 32; ++n)
        cache.store(imageOfWidth(n + 1), keyNumber(n));
}

} // namespace

TEST(BlurCache, EvictsFirstStoredEvenWhenJustLookedUp)
{
    BlurCache cache;
    fill(cache);
    ASSERT_TRUE(cache.image(keyNumber(0)).has_value()); // a lookup does not make it younger
    cache.store(imageOfWidth(100), keyNumber(32));
    EXPECT_EQ(cache.count(), 32u);
    EXPECT_FALSE(cache.image(keyNumber(0)).has_value());
    EXPECT_TRUE(cache.image(keyNumber(1)).has_value());
    EXPECT_EQ(cache.image(keyNumber(32))->width(), 100);
}

TEST(BlurCache, ReplacingAnImageKeepsItsPlaceInTheOrder)
{
    BlurCache cache;
    fill(cache);
    cache.store(imageOfWidth(7), keyNumber(0)); // replaced, still the oldest
    EXPECT_EQ(cache.count(), 32u);
    EXPECT_EQ(cache.image(keyNumber(0))->width(), 7);
    cache.store(imageOfWidth(1), keyNumber(40));
    EXPECT_FALSE(cache.image(keyNumber(0)).has_value());
    EXPECT_TRUE(cache.image(keyNumber(31)).has_value());
}
