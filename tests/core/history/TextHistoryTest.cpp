#include "core/history/TextHistory.h"

#include "core/settings/SettingsFileStore.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <memory>

using namespace lumivex;

namespace {

QDateTime at(int year, int month, int day, int hour = 12)
{
    return QDateTime(QDate(year, month, day), QTime(hour, 0), QTimeZone::utc());
}

class TextHistoryTest : public testing::Test {
protected:
    TextHistoryTest() { reopen(); }

    // A new history over the same file: what the next launch sees.
    void reopen()
    {
        history.reset();
        store = std::make_unique<SettingsFileStore>(dir.filePath(QStringLiteral("lumivex.conf")));
        history = std::make_unique<TextHistory>(*store);
    }

    QStringList texts() const
    {
        QStringList list;
        for (const auto& entry : history->entries())
            list << entry.text;
        return list;
    }

    QTemporaryDir dir;
    std::unique_ptr<SettingsFileStore> store;
    std::unique_ptr<TextHistory> history;
};

TEST_F(TextHistoryTest, BlankTextsAreNeitherRecordedNorStored)
{
    history->record(QStringLiteral("kept"), std::nullopt, at(2024, 1, 1));
    for (const QString& blank : {QString(), QStringLiteral("  \n"), QStringLiteral("\t\u3000 \r\n")})
        EXPECT_FALSE(history->record(blank, std::nullopt, at(2024, 1, 2)).has_value());
    EXPECT_EQ(texts(), QStringList{QStringLiteral("kept")});
}

TEST_F(TextHistoryTest, RecordingTheSameTextAgainKeepsItsIdAndTakesTheNewDate)
{
    const auto first = history->record(QStringLiteral("abc"), std::nullopt, at(2024, 1, 1));
    history->record(QStringLiteral("other"), std::nullopt, at(2024, 1, 2));
    const auto second = history->record(QStringLiteral("abc"), std::nullopt, at(2024, 1, 3));
    ASSERT_TRUE(first && second);
    EXPECT_EQ(second->id, first->id);
    EXPECT_EQ(texts(), (QStringList{QStringLiteral("abc"), QStringLiteral("other")}));
    EXPECT_EQ(history->entries().front().date, at(2024, 1, 3));
    // Texts are compared exactly: a trailing space makes another entry, and the text is kept untrimmed.
    history->record(QStringLiteral("abc "), std::nullopt, at(2024, 1, 4));
    EXPECT_EQ(texts(), (QStringList{QStringLiteral("abc "), QStringLiteral("abc"), QStringLiteral("other")}));
}

TEST_F(TextHistoryTest, EditingAnEntryKeepsItsIdMovesItUpAndDropsAnEntryWithTheSameText)
{
    const auto abc = history->record(QStringLiteral("abc"), std::nullopt, at(2024, 1, 1));
    const auto xyz = history->record(QStringLiteral("xyz"), std::nullopt, at(2024, 1, 2));
    history->record(QStringLiteral("top"), std::nullopt, at(2024, 1, 3));

    const auto edited = history->record(QStringLiteral("abd"), abc->id, at(2024, 1, 4));
    EXPECT_EQ(edited->id, abc->id);
    EXPECT_EQ(texts(), (QStringList{QStringLiteral("abd"), QStringLiteral("top"), QStringLiteral("xyz")}));

    // Editing abd into the text that xyz's entry holds leaves a single entry, with the edited id.
    history->record(QStringLiteral("xyz"), abc->id, at(2024, 1, 5));
    ASSERT_EQ(history->entries().size(), 2u);
    EXPECT_EQ(history->entries().front().id, abc->id);
    EXPECT_NE(history->entries().back().id, xyz->id);
}

TEST_F(TextHistoryTest, TheThirtyFirstTextDropsTheOldest)
{
    for (int i = 0; i <= TextHistory::limit; ++i)
        history->record(QStringLiteral("text %1").arg(i), std::nullopt, at(2024, 1, 1).addSecs(i));
    ASSERT_EQ(history->entries().size(), 30u);
    EXPECT_EQ(history->entries().front().text, QStringLiteral("text 30"));
    EXPECT_EQ(history->entries().back().text, QStringLiteral("text 1"));
}

TEST_F(TextHistoryTest, TheStoredLayoutHasUuidTextsAndSecondsSince2001)
{
    const auto entry = history->record(QStringLiteral("한글 text\n둘째 줄"), std::nullopt, at(2001, 1, 2, 0));
    const QJsonArray stored = QJsonDocument::fromJson(*store->data(TextHistory::storeKey)).array();
    ASSERT_EQ(stored.size(), 1);
    const QJsonObject object = stored.first().toObject();
    EXPECT_EQ(object.value(QStringLiteral("id")).toString(), entry->id.toString(QUuid::WithoutBraces).toUpper());
    EXPECT_EQ(object.value(QStringLiteral("text")).toString(), QStringLiteral("한글 text\n둘째 줄"));
    EXPECT_DOUBLE_EQ(object.value(QStringLiteral("date")).toDouble(), 86400.0);

    // Written by another program with fractional seconds and lower-case ids: read back to the millisecond.
    const QByteArray foreign = R"([{"id":"0f8fad5b-d9cb-469f-a165-70867728950e","text":"a","date":-0.25}])";
    const auto decoded = TextHistory::decode(foreign);
    ASSERT_TRUE(decoded && decoded->size() == 1);
    EXPECT_EQ(decoded->front().id, QUuid::fromString(QStringLiteral("{0f8fad5b-d9cb-469f-a165-70867728950e}")));
    EXPECT_EQ(decoded->front().date, at(2000, 12, 31, 23).addMSecs(3600 * 1000 - 250));
}

TEST_F(TextHistoryTest, TheHistoryComesBackAfterARestartAndClearingRemovesTheKey)
{
    history->record(QStringLiteral("first"), std::nullopt, at(2024, 3, 1));
    history->record(QStringLiteral("second"), std::nullopt, at(2024, 3, 2));
    const std::vector<TextHistory::Entry> before = history->entries();
    reopen();
    EXPECT_EQ(history->entries(), before);

    history->remove(before.front().id);
    EXPECT_EQ(texts(), QStringList{QStringLiteral("first")});
    history->clear();
    EXPECT_FALSE(store->contains(TextHistory::storeKey));
    reopen();
    EXPECT_TRUE(history->entries().empty());
}

TEST_F(TextHistoryTest, StoredDataThatIsNoEntryListStartsAnEmptyHistory)
{
    const char* damaged[] = {
        "not json",
        R"({"id":"0f8fad5b-d9cb-469f-a165-70867728950e","text":"a","date":0})", // an object, not a list
        R"([{"id":"nope","text":"a","date":0}])",
        R"([{"id":"{0f8fad5b-d9cb-469f-a165-70867728950e}","text":"a","date":0}])",
        R"([{"id":"0f8fad5b-d9cb-469f-a165-70867728950e","text":7,"date":0}])",
        R"([{"id":"0f8fad5b-d9cb-469f-a165-70867728950e","text":"a","date":"today"}])",
        R"([{"id":"0f8fad5b-d9cb-469f-a165-70867728950e","text":"a","date":1e300}])",
        // One bad entry spoils the list, as the whole list is one value.
        R"([{"id":"0f8fad5b-d9cb-469f-a165-70867728950e","text":"a","date":0},3])",
    };
    for (const char* data : damaged) {
        store->setData(TextHistory::storeKey, QByteArray(data));
        reopen();
        EXPECT_TRUE(history->entries().empty()) << data;
    }
    // The next change overwrites the damaged value.
    history->record(QStringLiteral("fresh"), std::nullopt, at(2024, 1, 1));
    reopen();
    EXPECT_EQ(texts(), QStringList{QStringLiteral("fresh")});
}

} // namespace
