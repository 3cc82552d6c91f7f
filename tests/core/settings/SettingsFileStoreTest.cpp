#include "core/settings/SettingsFileStore.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace lumivex;

namespace {

class SettingsFileStoreTest : public testing::Test {
protected:
    QString path() const { return m_dir.filePath(QStringLiteral("lumivex/lumivex.conf")); }
    QTemporaryDir m_dir;
};

TEST_F(SettingsFileStoreTest, ValuesSurviveReopeningTheFile)
{
    {
        SettingsFileStore store(path());
        store.setBool(QStringLiteral("lumivex.flag"), true);
        store.setString(QStringLiteral("lumivex.path"), QStringLiteral("/tmp/a b/ü"));
        store.setStringList(QStringLiteral("AppleLanguages"), {QStringLiteral("ko")});
        store.setStringList(QStringLiteral("lumivex.two"), {QStringLiteral("a"), QStringLiteral("b,c")});
        store.setStringList(QStringLiteral("lumivex.none"), {});
        store.setData(QStringLiteral("lumivex.json"), QByteArray("{\"keyCode\":14}\n\0\xff", 17));
        store.setString(QStringLiteral("lumivex.gone"), QStringLiteral("x"));
        store.remove(QStringLiteral("lumivex.gone"));
        EXPECT_TRUE(store.writable());
    }
    SettingsFileStore store(path());
    EXPECT_TRUE(store.boolValue(QStringLiteral("lumivex.flag")));
    EXPECT_EQ(store.string(QStringLiteral("lumivex.path")), QStringLiteral("/tmp/a b/ü"));
    EXPECT_EQ(store.stringList(QStringLiteral("AppleLanguages")), QStringList{QStringLiteral("ko")});
    EXPECT_EQ(store.stringList(QStringLiteral("lumivex.two")), (QStringList{QStringLiteral("a"), QStringLiteral("b,c")}));
    EXPECT_TRUE(store.stringList(QStringLiteral("lumivex.none")).isEmpty());
    EXPECT_EQ(store.data(QStringLiteral("lumivex.json")), QByteArray("{\"keyCode\":14}\n\0\xff", 17));
    EXPECT_FALSE(store.contains(QStringLiteral("lumivex.gone")));
    EXPECT_FALSE(store.contains(QStringLiteral("lumivex.never")));
}

TEST_F(SettingsFileStoreTest, DamagedFilesReadAsAbsentValues)
{
    QDir().mkpath(m_dir.filePath(QStringLiteral("lumivex")));
    QFile file(path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[General]\nlumivex.flag=garbage\nlumivex.data=notbytes\nlumivex.list=@Variant(\\0\\0\\0\\x7f\n"
               "\x01\x02\xff\xfe\x00\x80 binary tail");
    file.close();
    SettingsFileStore store(path());
    EXPECT_FALSE(store.boolValue(QStringLiteral("lumivex.flag")));
    EXPECT_FALSE(store.optionalBool(QStringLiteral("lumivex.flag")).has_value());
    EXPECT_FALSE(store.data(QStringLiteral("lumivex.data")).has_value());
    EXPECT_FALSE(store.string(QStringLiteral("lumivex.missing")).has_value());
    store.stringList(QStringLiteral("lumivex.list")); // must not crash, whatever it reads
}

TEST_F(SettingsFileStoreTest, AStoredListThatClaimsBillionsOfEntriesReadsAsAbsent)
{
    // Found by fuzzing: a serialised string list (type 11) whose count, read from the following text, is about
    // two billion. Qt asks for 52 GB, does not get it, and the value reads as nothing.
    QDir().mkpath(m_dir.filePath(QStringLiteral("lumivex")));
    QFile file(path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[General]\nlumivex.ok=true\nlumivex.colour=@Variant(\\0\\0\\0\\vex.colour=@Variant(\\0\\0\\0\\x7o)\n");
    file.close();
    SettingsFileStore store(path());
    EXPECT_TRUE(store.boolValue(QStringLiteral("lumivex.ok")));
    EXPECT_LT(store.stringList(QStringLiteral("lumivex.colour")).size(), 2);
}

TEST_F(SettingsFileStoreTest, StandardPathFollowsXdgConfigHome)
{
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/cfg");
    EXPECT_EQ(SettingsFileStore::standardPath(), QStringLiteral("/cfg/lumivex/lumivex.conf"));
    qputenv("XDG_CONFIG_HOME", "relative/ignored");
    EXPECT_EQ(SettingsFileStore::standardPath(), QDir::homePath() + QStringLiteral("/.config/lumivex/lumivex.conf"));
    qputenv("XDG_CONFIG_HOME", saved);
}

} // namespace
