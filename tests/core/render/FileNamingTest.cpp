#include "core/render/FileNaming.h"

#include <gtest/gtest.h>

#include <ctime>

using namespace lumivex;

TEST(FileNaming, TimestampIsLocalAndTheSaveNameGetsThePrefixOnlyWhenMissing)
{
    const QByteArray previous = qgetenv("TZ");
    qputenv("TZ", "Asia/Seoul"); // UTC+9 without daylight saving
    tzset();
    const QDateTime utc(QDate(2025, 3, 7), QTime(5, 5, 9), Qt::UTC);
    EXPECT_EQ(FileNaming::timestamp(QDateTime(QDate(2025, 3, 7), QTime(14, 5, 9))), "2025-03-07 at 14.05.09");
    EXPECT_EQ(FileNaming::captureName(utc), "Lumivex 2025-03-07 at 14.05.09");
    EXPECT_EQ(FileNaming::automaticSaveFileName(utc, 2), "Lumivex 2025-03-07 at 14.05.09 2.png");
    previous.isNull() ? qunsetenv("TZ") : qputenv("TZ", previous);
    tzset();

    EXPECT_EQ(FileNaming::saveFileName("Lumivex 2025-03-07 at 14.05.09", "png"), "Lumivex 2025-03-07 at 14.05.09.png");
    EXPECT_EQ(FileNaming::saveFileName("holiday", "jpg"), "Lumivex holiday.jpg");
}
