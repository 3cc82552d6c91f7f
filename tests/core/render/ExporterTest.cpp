#include "core/render/Exporter.h"

#include "core/render/FileNaming.h"
#include "core/render/ImageLoading.h"
#include "core/render/PngEncoder.h"
#include "ExportFixtures.h"
#include "support/TestImages.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <future>
#include <set>

#include <sys/stat.h>
#include <unistd.h>

using namespace lumivex;

namespace {

const QDateTime captureTime(QDate(2025, 3, 7), QTime(14, 5, 9));

QImage picture() { return test::screenshotLikeImage(64, 40); }

int permissionBits(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

bool isPng(const QByteArray& bytes) { return bytes.startsWith("\x89PNG\r\n\x1a\n"); }
bool isJpeg(const QByteArray& bytes) { return bytes.startsWith("\xFF\xD8\xFF"); }

} // namespace

TEST(ExportFormat, ExtensionChoosesJpegOnlyForJpgAndJpeg)
{
    for (const char* jpeg : {"jpg", "JPG", "jpeg", "JPEG", "Jpeg"})
        EXPECT_EQ(ExportFormat::forExtension(jpeg), ExportFormat::jpeg(0.92)) << jpeg;
    for (const char* png : {"png", "webp", "tiff", "jpe", ""})
        EXPECT_EQ(ExportFormat::forExtension(png), ExportFormat::png()) << png;
}

TEST(ExporterWrite, FormatFollowsTheExtensionAndTheNameIsKept)
{
    QTemporaryDir dir;
    struct Case {
        const char* name;
        bool jpeg;
    };
    for (const Case c : {Case{"shot.JPEG", true}, Case{"shot.jpg", true}, Case{"shot.webp", false},
                         Case{"shot.tiff", false}, Case{"shot", false}}) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath(c.name);
        ASSERT_FALSE(Exporter::writeImage(picture(), 2, path));
        const QByteArray bytes = test::readFile(path);
        EXPECT_TRUE(c.jpeg ? isJpeg(bytes) : isPng(bytes));
        // 144 dpi comes back as pixel scale 2.
        EXPECT_EQ(ImageLoading::load(path)->scale, 2);
    }
}

TEST(ExporterWrite, FilesAreReadableByTheOwnerOnlyEvenWhenReplacingAnOpenerFile)
{
    QTemporaryDir dir;
    const QString fresh = dir.filePath("fresh.png"), existing = dir.filePath("existing.png");
    test::writeFile(existing, "old contents");
    QFile::setPermissions(existing, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    ASSERT_FALSE(Exporter::writeImage(picture(), 1, fresh));
    ASSERT_FALSE(Exporter::writeImage(picture(), 1, existing));
    EXPECT_EQ(permissionBits(fresh), 0600);
    EXPECT_EQ(permissionBits(existing), 0600);
    EXPECT_TRUE(isPng(test::readFile(existing)));
}

TEST(ExporterWrite, NothingToEncodeIsAnEncodingErrorAndTouchesNothing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("kept.jpg");
    test::writeFile(path, "previous picture");
    const std::optional<ExportError> error = Exporter::writeImage(QImage(), 1, path);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), ExportError::Kind::couldNotEncode);
    EXPECT_EQ(error->message(), QString::fromUtf8("파일을 저장하지 못했습니다."));
    EXPECT_TRUE(error->detail().contains("JPEG"));
    EXPECT_EQ(test::readFile(path), "previous picture");
    EXPECT_EQ(test::entriesOf(dir.path()), QStringList{"kept.jpg"});
}

TEST(ExporterWrite, VanishedFolderIsAWriteError)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("gone");
    QDir().mkdir(folder);
    QDir().rmdir(folder);
    const std::optional<ExportError> error = Exporter::writeImage(picture(), 1, folder + "/shot.png");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), ExportError::Kind::couldNotWrite);
    EXPECT_FALSE(error->detail().isEmpty());
    EXPECT_TRUE(test::entriesOf(dir.path()).isEmpty());
}

// Real filesystem faults. The tests run as root, for whom permission bits are no obstacle, so a read-only
// folder is a read-only mount; a full disk is a tmpfs smaller than the picture.
class ExporterFaults : public testing::Test {
protected:
    static QByteArray previous() { return "the picture saved before"; }
    // Noise does not compress: its PNG is far larger than the 64 KiB filesystem.
    static QImage largePicture() { return test::noiseImage(300, 300, QImage::Format_ARGB32_Premultiplied, false); }

    void expectOnlyThePreviousFile(const test::ScratchMount& mount)
    {
        EXPECT_EQ(test::entriesOf(mount.path()), QStringList{"shot.png"});
        EXPECT_EQ(test::readFile(mount.path() + "/shot.png"), previous());
    }
};

TEST_F(ExporterFaults, FullDiskFailsAndKeepsTheOldFile)
{
    test::ScratchMount mount(64 * 1024);
    if (!mount.mounted())
        GTEST_SKIP() << "mounting a tmpfs is not permitted here, so no disk can be filled safely";
    test::writeFile(mount.path() + "/shot.png", previous());

    const std::optional<ExportError> error = Exporter::writeImage(largePicture(), 1, mount.path() + "/shot.png");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), ExportError::Kind::couldNotWrite);
    expectOnlyThePreviousFile(mount);

    EXPECT_FALSE(Exporter::saveAutomatically(largePicture(), 1, mount.path(), captureTime));
    expectOnlyThePreviousFile(mount);
}

TEST_F(ExporterFaults, ReadOnlyFolderFailsAndKeepsTheOldFile)
{
    test::ScratchMount mount(1024 * 1024);
    if (!mount.mounted())
        GTEST_SKIP() << "mounting a tmpfs is not permitted here, and root ignores a folder's permission bits";
    test::writeFile(mount.path() + "/shot.png", previous());
    ASSERT_TRUE(mount.remountReadOnly());

    const std::optional<ExportError> error = Exporter::writeImage(picture(), 1, mount.path() + "/shot.png");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), ExportError::Kind::couldNotWrite);
    EXPECT_FALSE(Exporter::saveAutomatically(picture(), 1, mount.path(), captureTime));
    expectOnlyThePreviousFile(mount);
}

class ExporterClipboard : public testing::Test {
protected:
    void TearDown() override { clipboard()->clear(); }
    static QClipboard* clipboard() { return QGuiApplication::clipboard(); }
};

TEST_F(ExporterClipboard, PutsReadyPngThenTiff)
{
    const QImage image = picture();
    ASSERT_TRUE(Exporter::copyToPasteboard(image, 2, clipboard()));
    const QMimeData* data = clipboard()->mimeData();
    ASSERT_TRUE(data);
    EXPECT_EQ(data->formats(), (QStringList{"image/png", "image/tiff"}));
    EXPECT_EQ(data->data("image/png"), *PngEncoder::encode(image, 2, PngEncoder::Effort::fast));

    const QImage tiff = QImage::fromData(data->data("image/tiff"), "TIFF");
    EXPECT_EQ(tiff.convertToFormat(image.format()), image);
    EXPECT_EQ(ImageLoading::load(data->data("image/tiff"), "tiff")->scale, 2);
    EXPECT_EQ(ImageLoading::load(clipboard())->scale, 2);
}

TEST_F(ExporterClipboard, FailedEncodingLeavesTheClipboardAlone)
{
    clipboard()->setText("kept");
    EXPECT_FALSE(Exporter::copyToPasteboard(QImage(), 1, clipboard()));
    EXPECT_EQ(clipboard()->text(), "kept");
    EXPECT_FALSE(Exporter::copyToPasteboard(picture(), 1, nullptr));
}

TEST(ExporterAutomaticSave, NumbersNamesTakenInTheSameSecond)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("new/nested folder");
    const std::optional<QString> first = Exporter::saveAutomatically(picture(), 2, folder, captureTime);
    const std::optional<QString> second = Exporter::saveAutomatically(picture(), 2, folder, captureTime);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(QFileInfo(*first).fileName(), "Lumivex 2025-03-07 at 14.05.09.png");
    EXPECT_EQ(QFileInfo(*second).fileName(), "Lumivex 2025-03-07 at 14.05.09 2.png");
    EXPECT_EQ(permissionBits(*first), 0600);
    EXPECT_EQ(ImageLoading::load(*second)->scale, 2);
    EXPECT_EQ(test::entriesOf(folder).size(), 2); // no temporary file left behind
}

TEST(ExporterAutomaticSave, SkipsEveryTakenNameIncludingFolders)
{
    QTemporaryDir dir;
    test::writeFile(dir.filePath(FileNaming::automaticSaveFileName(captureTime, 1)), "taken");
    QDir(dir.path()).mkdir(FileNaming::automaticSaveFileName(captureTime, 2));
    const std::optional<QString> saved = Exporter::saveAutomatically(picture(), 1, dir.path(), captureTime);
    ASSERT_TRUE(saved);
    EXPECT_EQ(QFileInfo(*saved).fileName(), "Lumivex 2025-03-07 at 14.05.09 3.png");
    EXPECT_EQ(test::readFile(dir.filePath(FileNaming::automaticSaveFileName(captureTime, 1))), "taken");
}

TEST(ExporterAutomaticSave, SimultaneousSavesNeverOverwriteEachOther)
{
    QTemporaryDir dir;
    constexpr int savers = 6;
    std::vector<std::future<std::optional<QString>>> saves;
    for (int i = 0; i < savers; ++i)
        saves.push_back(std::async(std::launch::async, [&dir] {
            return Exporter::saveAutomatically(picture(), 1, dir.path(), captureTime);
        }));
    std::set<QString> names;
    for (auto& save : saves) {
        const std::optional<QString> path = save.get();
        ASSERT_TRUE(path);
        names.insert(QFileInfo(*path).fileName());
    }
    EXPECT_EQ(names.size(), size_t(savers));
    EXPECT_EQ(test::entriesOf(dir.path()).size(), savers);
    for (int attempt = 1; attempt <= savers; ++attempt)
        EXPECT_TRUE(names.count(FileNaming::automaticSaveFileName(captureTime, attempt)));
}

TEST(ExporterAutomaticSave, FolderThatIsAFileGivesNothing)
{
    QTemporaryDir dir;
    test::writeFile(dir.filePath("file"), "x");
    EXPECT_FALSE(Exporter::saveAutomatically(picture(), 1, dir.filePath("file"), captureTime));
    EXPECT_FALSE(Exporter::saveAutomatically(QImage(), 1, dir.path(), captureTime));
}
