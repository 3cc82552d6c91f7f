#include "core/settings/SettingsFileStore.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace lumivex;

namespace {

class SettingsFileStoreTest : public testing::Test {
protected:
    QString path() const { return m_dir.filePath("lumivex/lumivex.conf"); }
    QTemporaryDir m_dir;
};

TEST_F(SettingsFileStoreTest, ValuesSurviveReopeningTheFile)
{
    {
        SettingsFileStore store(path());
        store.setBool("lumivex.flag", true);
        store.setString("lumivex.path", "/tmp/a b/ü");
        store.setStringList("AppleLanguages", {"ko"});
        store.setStringList("lumivex.two", {"a", "b,c"});
        store.setStringList("lumivex.none", {});
        store.setData("lumivex.json", QByteArray("{\"keyCode\":14}\n\0\xff", 17));
        store.setString("lumivex.gone", "x");
        store.remove("lumivex.gone");
        EXPECT_TRUE(store.writable());
    }
    SettingsFileStore store(path());
    EXPECT_TRUE(store.boolValue("lumivex.flag"));
    EXPECT_EQ(store.string("lumivex.path"), "/tmp/a b/ü");
    EXPECT_EQ(store.stringList("AppleLanguages"), QStringList{"ko"});
    EXPECT_EQ(store.stringList("lumivex.two"), (QStringList{"a", "b,c"}));
    EXPECT_TRUE(store.stringList("lumivex.none").isEmpty());
    EXPECT_EQ(store.data("lumivex.json"), QByteArray("{\"keyCode\":14}\n\0\xff", 17));
    EXPECT_FALSE(store.contains("lumivex.gone"));
    EXPECT_FALSE(store.contains("lumivex.never"));
}

TEST_F(SettingsFileStoreTest, DamagedFilesReadAsAbsentValues)
{
    // The colour was found by fuzzing: a serialised string list (type 11) whose count, read from the following
    // text, is about two billion. Qt asks for 52 GB, does not get it, and the value reads as nothing.
    QDir().mkpath(m_dir.filePath("lumivex"));
    QFile file(path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const char damaged[] = "[General]\nlumivex.ok=true\nlumivex.flag=garbage\nlumivex.data=notbytes\n"
                           "lumivex.colour=@Variant(\\0\\0\\0\\vex.colour=@Variant(\\0\\0\\0\\x7o)\n"
                           "lumivex.list=@Variant(\\0\\0\\0\\x7f\n\x01\x02\xff\xfe\x00\x80 binary tail";
    file.write(damaged, sizeof damaged - 1); // the NUL and what follows it too
    file.close();
    SettingsFileStore store(path());
    EXPECT_TRUE(store.boolValue("lumivex.ok"));
    EXPECT_FALSE(store.boolValue("lumivex.flag"));
    EXPECT_FALSE(store.optionalBool("lumivex.flag").has_value());
    EXPECT_FALSE(store.data("lumivex.data").has_value());
    EXPECT_FALSE(store.string("lumivex.missing").has_value());
    EXPECT_LT(store.stringList("lumivex.colour").size(), 2);
    store.stringList("lumivex.list"); // must not crash, whatever it reads
}

TEST_F(SettingsFileStoreTest, StandardPathFollowsXdgConfigHome)
{
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/cfg");
    EXPECT_EQ(SettingsFileStore::standardPath(), "/cfg/lumivex/lumivex.conf");
    qputenv("XDG_CONFIG_HOME", "relative/ignored");
    EXPECT_EQ(SettingsFileStore::standardPath(), QDir::homePath() + "/.config/lumivex/lumivex.conf");
    saved.isNull() ? qunsetenv("XDG_CONFIG_HOME") : qputenv("XDG_CONFIG_HOME", saved);
}

} // namespace
