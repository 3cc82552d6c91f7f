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

using namespace lumivex;

namespace {

const QDateTime captureTime(QDate(2025, 3, 7), QTime(14, 5, 9));

QImage picture() { return test::screenshotLikeImage(64, 40); }

int permissionBits(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

} // namespace

TEST(ExportFormat, ExtensionChoosesJpegOnlyForJpgAndJpeg)
{
    for (const char* jpeg : {"jpg", "JPG", "jpeg", "JPEG", "Jpeg"})
        EXPECT_EQ(ExportFormat::forExtension(jpeg), ExportFormat::jpeg(0.92)) << jpeg;
    for (const char* png : {"png", "webp", "tiff", "jpe", ""})
        EXPECT_EQ(ExportFormat::forExtension(png), ExportFormat::png()) << png;
}

TEST(ExporterWrite, FormatFollowsTheExtensionTheNameIsKeptAndOnlyTheOwnerMayRead)
{
    QTemporaryDir dir;
    const QImage image = picture();
    for (const char* name : {"shot.JPEG", "shot.jpg", "shot.webp", "shot"}) {
        SCOPED_TRACE(name);
        const QString path = dir.filePath(name);
        test::writeFile(path, "an older file, readable by everyone");
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
        ASSERT_FALSE(Exporter::writeImage(image, 2, path));
        const bool jpeg = QFileInfo(path).suffix().toLower().startsWith("jp");
        const QByteArray bytes = test::readFile(path);
        EXPECT_TRUE(bytes.startsWith(jpeg ? QByteArray("\xFF\xD8\xFF") : QByteArray("\x89PNG\r\n\x1a\n")));
        EXPECT_EQ(permissionBits(path), 0600);
        const std::optional<LoadedImage> loaded = ImageLoading::load(path);
        ASSERT_TRUE(loaded);
        EXPECT_EQ(loaded->scale, 2); // stated as 144 dpi
        EXPECT_EQ(loaded->name, "shot");
        EXPECT_EQ(loaded->image.format(), QImage::Format_ARGB32_Premultiplied);
        if (!jpeg) {
            EXPECT_EQ(loaded->image, image);
        }
    }
    EXPECT_EQ(test::entriesOf(dir.path()).size(), 4); // no temporary file left behind
}

TEST(ExporterWrite, FailuresSayWhetherEncodingOrWritingFailedAndTouchNothing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("kept.jpg");
    test::writeFile(path, "previous picture");
    const std::optional<ExportError> encoding = Exporter::writeImage(QImage(), 1, path);
    ASSERT_TRUE(encoding);
    EXPECT_EQ(encoding->kind(), ExportError::Kind::couldNotEncode);
    EXPECT_EQ(encoding->message(), QString::fromUtf8("파일을 저장하지 못했습니다."));
    EXPECT_TRUE(encoding->detail().contains("JPEG"));
    // JPEG cannot hold more than 65535 pixels on a side.
    EXPECT_EQ(Exporter::writeImage(QImage(70000, 1, QImage::Format_RGB32), 1, path)->kind(),
              ExportError::Kind::couldNotEncode);
    EXPECT_EQ(test::readFile(path), "previous picture");

    const std::optional<ExportError> writing = Exporter::writeImage(picture(), 1, dir.filePath("gone/shot.png"));
    ASSERT_TRUE(writing);
    EXPECT_EQ(writing->kind(), ExportError::Kind::couldNotWrite);
    EXPECT_FALSE(writing->detail().isEmpty());
    EXPECT_EQ(test::entriesOf(dir.path()), QStringList{"kept.jpg"});
}

// Real filesystem faults. The tests run as root, for whom permission bits are no obstacle, so a read-only
// folder is a read-only mount; a full disk is a tmpfs smaller than the picture.
class ExporterFaults : public testing::Test {
protected:
    static QByteArray previous() { return "the picture saved before"; }
    // Noise does not compress: its PNG is far larger than the 64 KiB filesystem.
    static QImage largePicture() { return test::noiseImage(300, 300, QImage::Format_ARGB32_Premultiplied, false); }

    static void expectOnlyThePreviousFile(const test::ScratchMount& mount)
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

TEST_F(ExporterClipboard, PutsTheReadyPngThenTiff)
{
    const QImage image = picture();
    ASSERT_TRUE(Exporter::copyToPasteboard(image, 2, clipboard()));
    const QMimeData* data = clipboard()->mimeData();
    ASSERT_TRUE(data);
    EXPECT_EQ(data->formats(), (QStringList{"image/png", "image/tiff"}));
    EXPECT_EQ(data->data("image/png"), *PngEncoder::encode(image, 2, PngEncoder::Effort::fast));
    EXPECT_EQ(QImage::fromData(data->data("image/tiff"), "TIFF").convertToFormat(image.format()), image);
    EXPECT_EQ(ImageLoading::load(data->data("image/tiff"), "tiff")->scale, 2);
}

TEST_F(ExporterClipboard, FailedEncodingLeavesTheClipboardAlone)
{
    clipboard()->setText("kept");
    EXPECT_FALSE(Exporter::copyToPasteboard(QImage(), 1, clipboard()));
    EXPECT_EQ(clipboard()->text(), "kept");
}

TEST(ExporterAutomaticSave, NumbersNamesTakenInTheSameSecondSkippingFilesAndFolders)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("new/nested folder"); // created on the way
    const std::optional<QString> first = Exporter::saveAutomatically(picture(), 2, folder, captureTime);
    QDir(folder).mkdir(FileNaming::automaticSaveFileName(captureTime, 2));
    const std::optional<QString> second = Exporter::saveAutomatically(picture(), 2, folder, captureTime);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(QFileInfo(*first).fileName(), "Lumivex 2025-03-07 at 14.05.09.png");
    EXPECT_EQ(QFileInfo(*second).fileName(), "Lumivex 2025-03-07 at 14.05.09 3.png");
    EXPECT_EQ(permissionBits(*second), 0600);
    EXPECT_EQ(ImageLoading::load(*second)->scale, 2);
    EXPECT_EQ(test::entriesOf(folder).size(), 3);
    EXPECT_FALSE(Exporter::saveAutomatically(picture(), 1, *first, captureTime)); // the "folder" is a file
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
    EXPECT_EQ(test::entriesOf(dir.path()).size(), savers);
    for (int attempt = 1; attempt <= savers; ++attempt)
        EXPECT_TRUE(names.count(FileNaming::automaticSaveFileName(captureTime, attempt)));
}
