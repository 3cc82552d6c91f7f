#include "core/model/RGBAColor.h"

#include <QJsonDocument>

#include <gtest/gtest.h>

#include <limits>

using namespace lumivex;

TEST(RGBAColor, PlatformColoursConvertToSRGBAndUnconvertibleOnesBecomeBlack)
{
    EXPECT_EQ(RGBAColor::fromQColor(QColor()), RGBAColor::black);
    const RGBAColor fromHsv = RGBAColor::fromQColor(QColor::fromHsvF(0, 1, 1, 0.5));
    EXPECT_NEAR(fromHsv.r, 1, 1e-4);
    EXPECT_NEAR(fromHsv.g, 0, 1e-4);
    EXPECT_NEAR(fromHsv.a, 0.5, 1e-4);
}

TEST(RGBAColor, StoredValuesAreNeverClampedButDrawingColoursAre)
{
    const RGBAColor wild{1.5, -0.25, 0.5, 2};
    const auto parsed = RGBAColor::fromJson(QJsonDocument::fromJson(QJsonDocument(wild.toJson()).toJson()).object());
    EXPECT_EQ(parsed, wild);
    EXPECT_EQ(wild.toJson().keys(), (QStringList{"a", "b", "g", "r"}));

    const QColor drawn = wild.toQColor();
    EXPECT_TRUE(drawn.isValid());
    EXPECT_EQ(drawn.alphaF(), 1.0f);
    EXPECT_EQ(drawn.greenF(), 0.0f);
    const RGBAColor notANumber{std::numeric_limits<double>::quiet_NaN(), 0, 0, 1};
    EXPECT_TRUE(notANumber.toQColor().isValid());
}

TEST(RGBAColor, StoredFormNeedsAllFourNumbers)
{
    EXPECT_FALSE(RGBAColor::fromJson(QJsonObject{{"r", 1}, {"g", 1}, {"b", 1}}));
    EXPECT_FALSE(RGBAColor::fromJson(QJsonObject{{"r", 1}, {"g", 1}, {"b", "1"}, {"a", 1}}));
    EXPECT_EQ(RGBAColor::red.withAlpha(0.25), (RGBAColor{1.0, 0.231, 0.188, 0.25}));
}
