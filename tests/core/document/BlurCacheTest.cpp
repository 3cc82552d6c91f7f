#include "core/document/BlurCache.h"

#include <gtest/gtest.h>

using namespace lumivex;

namespace {

BlurCache::Key keyNumber(int n) { return {n, 0, 10, 10, BlurStyle::gaussian, 64}; }

QImage ofWidth(int width)
{
    QImage image(width, 1, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::red);
    return image;
}

} // namespace

// Thirty-two patches fit; the first stored goes first, however recently it was looked up or replaced.
TEST(BlurCache, ThirtyThirdKeyEvictsTheFirstStored)
{
    for (bool replaceFirst : {false, true}) {
        BlurCache cache;
        for (int n = 0; n < 32; ++n)
            cache.store(ofWidth(n + 1), keyNumber(n));
        ASSERT_TRUE(cache.image(keyNumber(0)));
        if (replaceFirst) {
            cache.store(ofWidth(7), keyNumber(0));
            EXPECT_EQ(cache.image(keyNumber(0))->width(), 7);
        }
        cache.store(ofWidth(100), keyNumber(32));
        EXPECT_EQ(cache.count(), 32u);
        EXPECT_FALSE(cache.image(keyNumber(0)));
        EXPECT_EQ(cache.image(keyNumber(1))->width(), 2);
        EXPECT_EQ(cache.image(keyNumber(32))->width(), 100);
    }
}
