#include "core/render/Exporter.h"

#include "core/render/FileNaming.h"
#include "core/render/ImageLoading.h"
#include "core/render/PngEncoder.h"
#include "ExportFixtures.h"
#include "samples/TestImages.h"

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

TEST(ExporterWrite, FormatFollowsTheExtensionTheNameIsKeptAndOnlyTheOwnerMayRead)
{
    EXPECT_EQ(ExportFormat::forExtension("Jpeg"), ExportFormat::jpeg(0.92));
    EXPECT_EQ(ExportFormat::forExtension("jpe"), ExportFormat::png());
    QTemporaryDir dir;
    const QImage image = picture();
    for (const char* name : {"shot.JPEG", "shot.jpg", "shot.webp", "shot"}) {
        SCOPED_TRACE(name);
        const QString path = dir.filePath(name);
        test::writeFile(path, "an older file, readable by everyone");
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
        ASSERT_FALSE(Exporter::writeImage(image, 2, path));
        const bool jpeg = QFileInfo(path).suffix().toLower().startsWith("jp");
        EXPECT_TRUE(test::readFile(path).startsWith(jpeg ? QByteArray("\xFF\xD8\xFF") : QByteArray("\x89PNG\r\n\x1a\n")));
        EXPECT_EQ(permissionBits(path), 0600);
        const std::optional<LoadedImage> loaded = ImageLoading::load(path);
        ASSERT_TRUE(loaded);
        EXPECT_EQ(loaded->scale, 2);
        EXPECT_EQ(loaded->name, "shot");
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
    // JPEG holds at most 65535 pixels on a side.
    EXPECT_EQ(Exporter::writeImage(QImage(70000, 1, QImage::Format_RGB32), 1, path)->kind(),
              ExportError::Kind::couldNotEncode);
    EXPECT_EQ(test::readFile(path), "previous picture");

    const std::optional<ExportError> writing = Exporter::writeImage(picture(), 1, dir.filePath("gone/shot.png"));
    ASSERT_TRUE(writing);
    EXPECT_EQ(writing->kind(), ExportError::Kind::couldNotWrite);
    EXPECT_FALSE(writing->detail().isEmpty());
    EXPECT_EQ(test::entriesOf(dir.path()), QStringList{"kept.jpg"});
}

// Real filesystem faults. Root ignores permission bits, so a read-only folder is a read-only mount; a full
// disk is a 64 KiB tmpfs and a noise picture whose PNG is far larger.
TEST(ExporterFaults, FullDiskAndReadOnlyFolderFailAndKeepTheOldFile)
{
    const QImage large = test::noiseImage(300, 300, QImage::Format_ARGB32_Premultiplied, false);
    for (bool readOnly : {false, true}) {
        SCOPED_TRACE(readOnly ? "read-only" : "full");
        test::ScratchMount mount(readOnly ? 1024 * 1024 : 64 * 1024);
        if (!mount.mounted())
            GTEST_SKIP() << "mounting a tmpfs is not permitted here, and root ignores permission bits";
        const QString path = mount.path() + "/shot.png";
        test::writeFile(path, "the picture saved before");
        ASSERT_TRUE(!readOnly || mount.remountReadOnly());
        const QImage image = readOnly ? picture() : large;
        const std::optional<ExportError> error = Exporter::writeImage(image, 1, path);
        ASSERT_TRUE(error);
        EXPECT_EQ(error->kind(), ExportError::Kind::couldNotWrite);
        EXPECT_FALSE(Exporter::saveAutomatically(image, 1, mount.path(), captureTime));
        EXPECT_EQ(test::entriesOf(mount.path()), QStringList{"shot.png"});
        EXPECT_EQ(test::readFile(path), "the picture saved before");
    }
}

TEST(ExporterClipboard, PutsTheReadyPngThenTiffAndLeavesItAloneOnFailure)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    const QImage image = picture();
    ASSERT_TRUE(Exporter::copyToPasteboard(image, 2, clipboard));
    const QMimeData* data = clipboard->mimeData();
    ASSERT_TRUE(data);
    EXPECT_EQ(data->formats(), (QStringList{"image/png", "image/tiff"}));
    EXPECT_EQ(data->data("image/png"), *PngEncoder::encode(image, 2, PngEncoder::Effort::fast));
    EXPECT_EQ(QImage::fromData(data->data("image/tiff"), "TIFF").convertToFormat(image.format()), image);
    EXPECT_EQ(ImageLoading::load(data->data("image/tiff"), "tiff")->scale, 2);

    clipboard->setText("kept");
    EXPECT_FALSE(Exporter::copyToPasteboard(QImage(), 1, clipboard));
    EXPECT_EQ(clipboard->text(), "kept");
    clipboard->clear();
}

TEST(ExporterAutomaticSave, NumbersNamesTakenInTheSameSecondSkippingFilesAndFolders)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("new/nested folder"); // created on the way
    std::vector<QString> names;
    for (int save = 0; save < 3; ++save) {
        if (save == 2)
            QDir(folder).mkdir(FileNaming::automaticSaveFileName(captureTime, 3));
        const std::optional<QString> path = Exporter::saveAutomatically(picture(), 2, folder, captureTime);
        ASSERT_TRUE(path);
        EXPECT_EQ(permissionBits(*path), 0600);
        EXPECT_EQ(ImageLoading::load(*path)->scale, 2);
        names.push_back(QFileInfo(*path).fileName());
    }
    EXPECT_EQ(names, (std::vector<QString>{"Lumivex 2025-03-07 at 14.05.09.png", "Lumivex 2025-03-07 at 14.05.09 2.png",
                                           "Lumivex 2025-03-07 at 14.05.09 4.png"}));
    EXPECT_FALSE(Exporter::saveAutomatically(picture(), 1, folder + "/" + names[0], captureTime)); // a file

    QTemporaryDir racing; // simultaneous saves never overwrite each other
    std::vector<std::future<std::optional<QString>>> saves;
    for (int i = 0; i < 6; ++i)
        saves.push_back(std::async(std::launch::async, [&racing] {
            return Exporter::saveAutomatically(picture(), 1, racing.path(), captureTime);
        }));
    std::set<QString> taken;
    for (auto& save : saves)
        taken.insert(QFileInfo(save.get().value_or(QString())).fileName());
    for (int attempt = 1; attempt <= 6; ++attempt)
        EXPECT_TRUE(taken.count(FileNaming::automaticSaveFileName(captureTime, attempt))) << attempt;
    EXPECT_EQ(test::entriesOf(racing.path()).size(), 6);
}
