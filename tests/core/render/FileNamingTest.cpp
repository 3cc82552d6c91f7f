#include "core/render/FileNaming.h"

#include "ExportFixtures.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

using namespace lumivex;

namespace {

// Runs the test in a fixed time zone (Seoul: UTC+9, no daylight saving) and restores the previous one.
class InSeoul : public testing::Test {
protected:
    void SetUp() override
    {
        m_hadZone = qEnvironmentVariableIsSet("TZ");
        m_previousZone = qgetenv("TZ");
        qputenv("TZ", "Asia/Seoul");
        tzset();
    }
    void TearDown() override
    {
        if (m_hadZone)
            qputenv("TZ", m_previousZone);
        else
            qunsetenv("TZ");
        tzset();
    }

private:
    bool m_hadZone = false;
    QByteArray m_previousZone;
};

const QDateTime captureTime(QDate(2025, 3, 7), QTime(14, 5, 9));

} // namespace

TEST_F(InSeoul, TimestampIsLocalTime)
{
    EXPECT_EQ(FileNaming::timestamp(captureTime), "2025-03-07 at 14.05.09");
    // The same instant given in UTC is still written in the local zone.
    EXPECT_EQ(FileNaming::timestamp(QDateTime(QDate(2025, 3, 7), QTime(5, 5, 9), Qt::UTC)), "2025-03-07 at 14.05.09");
    EXPECT_EQ(FileNaming::captureName(captureTime), "Lumivex 2025-03-07 at 14.05.09");
}

TEST(FileNaming, SaveNameAddsThePrefixOnlyWhenMissing)
{
    struct Case {
        const char* document;
        const char* extension;
        const char* expected;
    };
    for (const Case c : {Case{"Lumivex 2025-03-07 at 14.05.09", "png", "Lumivex 2025-03-07 at 14.05.09.png"},
                         Case{"photo", "png", "Lumivex photo.png"}, Case{"holiday", "jpg", "Lumivex holiday.jpg"},
                         Case{"clipboard", "png", "Lumivex clipboard.png"}})
        EXPECT_EQ(FileNaming::saveFileName(c.document, c.extension), c.expected);
}

TEST(FileNaming, AutomaticSaveNameCountsFromTwoPastTakenNames)
{
    QTemporaryDir dir;
    EXPECT_EQ(FileNaming::automaticSaveFileName(QDir(dir.path()), captureTime), "Lumivex 2025-03-07 at 14.05.09.png");
    test::writeFile(dir.filePath("Lumivex 2025-03-07 at 14.05.09.png"), "1");
    test::writeFile(dir.filePath("Lumivex 2025-03-07 at 14.05.09 2.png"), "2");
    EXPECT_EQ(FileNaming::automaticSaveFileName(QDir(dir.path()), captureTime), "Lumivex 2025-03-07 at 14.05.09 3.png");
}
