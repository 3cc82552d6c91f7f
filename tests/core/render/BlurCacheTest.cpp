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

} // namespace

TEST(BlurCache, KeysDifferInEveryField)
{
    BlurCache cache;
    const BlurCache::Key key{1, 2, 3, 4, BlurStyle::gaussian, 40};
    cache.store(imageOfWidth(1), key);
    for (BlurCache::Key other : {BlurCache::Key{9, 2, 3, 4, BlurStyle::gaussian, 40}, BlurCache::Key{1, 9, 3, 4, BlurStyle::gaussian, 40},
                                 BlurCache::Key{1, 2, 9, 4, BlurStyle::gaussian, 40}, BlurCache::Key{1, 2, 3, 9, BlurStyle::gaussian, 40},
                                 BlurCache::Key{1, 2, 3, 4, BlurStyle::pixelate, 40}, BlurCache::Key{1, 2, 3, 4, BlurStyle::gaussian, 41}})
        EXPECT_FALSE(cache.image(other).has_value());
    ASSERT_TRUE(cache.image(key).has_value());
    EXPECT_EQ(cache.image(key)->width(), 1);
}

TEST(BlurCache, EvictsFirstStoredEvenWhenJustLookedUp)
{
    BlurCache cache;
    for (int n = 0; n < 32; ++n)
        cache.store(imageOfWidth(n + 1), keyNumber(n));
    EXPECT_EQ(cache.count(), 32u);
    ASSERT_TRUE(cache.image(keyNumber(0)).has_value()); // a lookup does not make it younger

    cache.store(imageOfWidth(100), keyNumber(32));
    EXPECT_EQ(cache.count(), 32u);
    EXPECT_FALSE(cache.image(keyNumber(0)).has_value());
    EXPECT_TRUE(cache.image(keyNumber(1)).has_value());
    EXPECT_TRUE(cache.image(keyNumber(32)).has_value());
}

TEST(BlurCache, ReplacingAnImageKeepsItsPlaceInTheOrder)
{
    BlurCache cache;
    for (int n = 0; n < 32; ++n)
        cache.store(imageOfWidth(1), keyNumber(n));
    cache.store(imageOfWidth(7), keyNumber(0)); // replaced, still the oldest
    EXPECT_EQ(cache.count(), 32u);
    ASSERT_EQ(cache.image(keyNumber(0))->width(), 7);

    cache.store(imageOfWidth(1), keyNumber(40));
    EXPECT_FALSE(cache.image(keyNumber(0)).has_value());
    EXPECT_TRUE(cache.image(keyNumber(31)).has_value());
}
