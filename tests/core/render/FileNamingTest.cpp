#include "core/render/FileNaming.h"

#include <gtest/gtest.h>

#include <ctime>

using namespace lumivex;

TEST(FileNaming, TimestampIsWrittenInTheLocalZone)
{
    const QByteArray previous = qgetenv("TZ");
    qputenv("TZ", "Asia/Seoul"); // UTC+9 without daylight saving
    tzset();
    EXPECT_EQ(FileNaming::timestamp(QDateTime(QDate(2025, 3, 7), QTime(14, 5, 9))), "2025-03-07 at 14.05.09");
    // The same instant given in UTC is still written in local time.
    const QDateTime utc(QDate(2025, 3, 7), QTime(5, 5, 9), Qt::UTC);
    EXPECT_EQ(FileNaming::captureName(utc), "Lumivex 2025-03-07 at 14.05.09");
    EXPECT_EQ(FileNaming::automaticSaveFileName(utc, 2), "Lumivex 2025-03-07 at 14.05.09 2.png");
    previous.isNull() ? qunsetenv("TZ") : qputenv("TZ", previous);
    tzset();
}

TEST(FileNaming, SaveNameAddsThePrefixOnlyWhenMissing)
{
    struct Case {
        const char* document;
        const char* extension;
        const char* expected;
    };
    for (const Case c : {Case{"Lumivex 2025-03-07 at 14.05.09", "png", "Lumivex 2025-03-07 at 14.05.09.png"},
                         Case{"photo", "png", "Lumivex photo.png"}, Case{"holiday", "jpg", "Lumivex holiday.jpg"}})
        EXPECT_EQ(FileNaming::saveFileName(c.document, c.extension), c.expected);
}
