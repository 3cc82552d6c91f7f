#include "core/model/RGBAColor.h"

#include <gtest/gtest.h>

#include <limits>

using namespace lumivex;

TEST(RGBAColor, StoredValuesAreNeverClampedButDrawingColoursAlwaysValid)
{
    EXPECT_EQ(RGBAColor::fromQColor(QColor()), RGBAColor::black);
    const RGBAColor wild{1.5, -0.25, 0.5, 2};
    EXPECT_EQ(RGBAColor::fromJson(wild.toJson()), wild);
    EXPECT_FALSE(RGBAColor::fromJson(QJsonObject{{"r", 1}, {"g", 1}, {"b", "1"}, {"a", 1}}));
    // QColor refuses an alpha above 1 (an invalid colour) and takes NaN as a number.
    EXPECT_EQ(wild.toQColor(), QColor::fromRgbF(1, 0, 0.5, 1));
    EXPECT_EQ((RGBAColor{std::numeric_limits<double>::quiet_NaN(), 0, 0, 1}.toQColor()), QColor(Qt::black));
}
