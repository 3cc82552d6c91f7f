#include "core/settings/SettingsFileStore.h"
#include "core/stickers/StickerLibrary.h"
#include "core/stickers/StickerRecents.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

using namespace lumivex;

namespace {

QImage solid(int width, int height, QRgb colour)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(colour);
    return image;
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QStringList names(const StickerLibrary& library)
{
    QStringList result;
    for (const auto& item : library.items())
        result << item.sticker->name();
    return result;
}

class StickerLibraryTest : public testing::Test {
protected:
    // A folder that does not exist yet, two levels deep: the library creates it.
    QString folder() const { return m_dir.filePath(QStringLiteral("data/lumivex/Stickers")); }
    QString file(const QString& name) const { return QDir(folder()).filePath(name); }

    void writeImage(const QString& name, const QImage& image, const char* format, int ageSeconds)
    {
        ASSERT_TRUE(image.save(file(name), format));
        setAge(name, ageSeconds);
    }
    void setAge(const QString& name, int ageSeconds)
    {
        QFile f(file(name));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds), QFileDevice::FileModificationTime));
    }

    QTemporaryDir m_dir;
};

TEST_F(StickerLibraryTest, ListsDecodablePngFilesNewestFirst)
{
    QDir().mkpath(folder());
    writeImage("old.png", solid(4, 4, qRgb(0, 0, 255)), "PNG", 300);
    writeImage("UPPER.PNG", solid(6, 3, qRgb(255, 0, 0)), "PNG", 10);
    writeImage("middle.png", solid(2, 2, qRgb(0, 255, 0)), "PNG", 100);
    writeImage("photo.jpg", solid(4, 4, qRgb(0, 0, 0)), "JPEG", 0);
    writeImage(".hidden.png", solid(4, 4, qRgb(0, 0, 0)), "PNG", 0);
    writeBytes(file("garbage.png"), "\x89PNG\r\n\x1a\n this is not the rest of a PNG");
    QDir(folder()).mkdir("folder.png");

    StickerLibrary library(folder());
    EXPECT_EQ(names(library), (QStringList{"UPPER", "middle", "old"}));
    EXPECT_EQ(library.items().front().sticker->aspectRatio(), 2);
    EXPECT_EQ(library.items().front().fileName(), "UPPER.PNG");
}

TEST_F(StickerLibraryTest, AddStoresAPngThatSurvivesAReload)
{
    StickerLibrary library(folder());
    ASSERT_TRUE(QDir(folder()).exists());
    QImage picture = solid(30, 15, qRgb(10, 200, 30));
    picture.setPixel(3, 4, qRgb(250, 0, 90));
    const auto sticker = library.add(picture, "a/b");
    ASSERT_TRUE(sticker);
    EXPECT_EQ(sticker->name(), "a/b");
    ASSERT_EQ(library.items().size(), 1u);
    const QString stored = library.items().front().fileName();
    EXPECT_TRUE(QRegularExpression("^a-b-[0-9A-F]{8}\\.png$").match(stored).hasMatch()) << stored.toStdString();
    // Qt's own decoder reads back the same pixels.
    EXPECT_EQ(QImage(file(stored)).convertToFormat(QImage::Format_ARGB32_Premultiplied), picture);

    // A name that would make a hidden file still comes back after a reload.
    ASSERT_TRUE(library.add(picture, ".dotted"));
    const QUuid firstId = library.items().back().id;
    library.reload();
    ASSERT_EQ(library.items().size(), 2u);
    EXPECT_TRUE(std::any_of(library.items().begin(), library.items().end(),
                            [](const auto& item) { return item.fileName().startsWith("-dotted-"); }));
    for (const auto& item : library.items())
        EXPECT_NE(item.id, firstId);

    EXPECT_FALSE(library.add(QImage(), "empty"));
    EXPECT_EQ(library.items().size(), 2u);
}

TEST_F(StickerLibraryTest, ImportSkipsUnreadableFilesAndRemoveDeletes)
{
    StickerLibrary library(folder());
    ASSERT_TRUE(solid(8, 8, qRgb(1, 2, 3)).save(m_dir.filePath("wave.png")));
    ASSERT_TRUE(solid(8, 4, qRgb(9, 9, 9)).save(m_dir.filePath("cat.jpeg")));
    writeBytes(m_dir.filePath("junk.png"), QByteArray(100, '\x7f'));

    const auto added = library.importFiles({m_dir.filePath("wave.png"), m_dir.filePath("junk.png"),
                                            m_dir.filePath("missing.png"), m_dir.filePath("cat.jpeg")});
    ASSERT_EQ(added.size(), 2u);
    EXPECT_EQ(added[0]->name(), "wave");
    EXPECT_EQ(added[1]->name(), "cat");
    EXPECT_EQ(names(library), (QStringList{"cat", "wave"}));

    const StickerLibrary::Item cat = library.items().front();
    library.remove(cat);
    EXPECT_FALSE(QFile::exists(cat.path));
    EXPECT_EQ(names(library), QStringList{"wave"});
    library.reload();
    ASSERT_EQ(library.items().size(), 1u);
    EXPECT_TRUE(library.items().front().sticker->name().startsWith("wave-")); // now named after its file
}

TEST_F(StickerLibraryTest, AFolderThatCannotBeCreatedIsAnEmptyLibrary)
{
    writeBytes(m_dir.filePath("data"), {});
    StickerLibrary library(folder());
    EXPECT_TRUE(library.items().empty());
    EXPECT_FALSE(library.add(solid(2, 2, qRgb(0, 0, 0)), "x"));
    EXPECT_TRUE(library.items().empty());
}

TEST_F(StickerLibraryTest, DefaultDirectoryFollowsXdgDataHome)
{
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", "/data/home");
    EXPECT_EQ(StickerLibrary::defaultDirectory(), "/data/home/lumivex/Stickers");
    qunsetenv("XDG_DATA_HOME");
    EXPECT_EQ(StickerLibrary::defaultDirectory(), QDir::homePath() + "/.local/share/lumivex/Stickers");
    if (!saved.isNull())
        qputenv("XDG_DATA_HOME", saved);
}

// ---------------------------------------------------------------- recents

class StickerRecentsTest : public StickerLibraryTest {
protected:
    SettingsFileStore m_store{m_dir.filePath("lumivex.conf")};
};

TEST_F(StickerRecentsTest, EmojiEntriesMoveToTheFrontWithinTheLimit)
{
    StickerLibrary library(folder());
    StickerRecents recents(m_store);
    recents.record(StickerSource::emoji("😀"), library);
    recents.record(StickerSource::emoji("🐶"), library);
    recents.record(StickerSource::emoji("😀"), library);
    EXPECT_EQ(recents.entries(), (QStringList{"e:😀", "e:🐶"}));

    for (int i = 0; i < StickerRecents::limit - 2; ++i)
        recents.record(StickerSource::emoji(QString("x%1").arg(i)), library);
    ASSERT_EQ(recents.entries().size(), StickerRecents::limit);
    EXPECT_EQ(recents.entries().back(), "e:🐶");
    recents.record(StickerSource::emoji("25th"), library);
    ASSERT_EQ(recents.entries().size(), StickerRecents::limit);
    EXPECT_EQ(recents.entries().front(), "e:25th");
    EXPECT_EQ(recents.entries().back(), "e:😀"); // 🐶, the oldest, was dropped

    // Stored at once, and read back by a new list over the same store.
    EXPECT_EQ(StickerRecents(m_store).entries(), recents.entries());
    EXPECT_EQ(SettingsFileStore(m_store.path()).stringList("lumivex.recentStickers"), recents.entries());
}

TEST_F(StickerRecentsTest, ImageEntriesResolveThroughFileNames)
{
    StickerLibrary library(folder());
    StickerRecents recents(m_store);
    const auto star = library.add(solid(10, 10, qRgb(250, 200, 0)), "star");
    ASSERT_TRUE(star);
    const QString starFile = library.items().front().fileName();

    recents.record(StickerSource::image(StickerImage::make(solid(2, 2, qRgb(0, 0, 0)), "stranger")), library);
    EXPECT_TRUE(recents.entries().isEmpty());
    recents.record(StickerSource::image(star), library);
    recents.record(StickerSource::emoji("🎉"), library);
    EXPECT_EQ(recents.entries(), (QStringList{"e:🎉", "i:" + starFile}));

    // A reload renews every id; the entry still finds its sticker by file name.
    library.reload();
    auto shown = recents.recents(library);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], (StickerRecents::Recent{"e:🎉", StickerSource::emoji("🎉")}));
    EXPECT_EQ(shown[1].source, StickerSource::image(library.items().front().sticker));
    EXPECT_NE(library.items().front().sticker->id(), star->id());

    // A deleted file hides the entry without forgetting it; a file of that name brings it back.
    const QByteArray bytes = [&] { QFile f(file(starFile)); f.open(QIODevice::ReadOnly); return f.readAll(); }();
    ASSERT_TRUE(QFile::remove(file(starFile)));
    library.reload();
    EXPECT_EQ(recents.recents(library).size(), 1u);
    EXPECT_EQ(recents.entries().size(), 2);
    writeBytes(file(starFile), bytes);
    library.reload();
    EXPECT_EQ(recents.recents(library).size(), 2u);
}

} // namespace
