// Files as they come from outside, through the loader the editor and `lumivex FILE` use: hostile ones give a clear
// error without crashing, blocking or writing anything; valid ones from other programs load as viewers show them.
#include "core/render/ImageLoading.h"

#include "core/render/JpegEncoder.h"
#include "core/render/PngEncoder.h"
#include "ExportFixtures.h"
#include "TrickyImageFiles.h"
#include "samples/TestImages.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <functional>

#include <sys/stat.h>
#include <unistd.h>

using namespace lumivex;
namespace files = lumivex::test::TrickyImageFiles;

namespace {

QByteArray png() { return *PngEncoder::encode(test::screenshotLikeImage(200, 120), 1, PngEncoder::Effort::compact); }
QByteArray jpeg() { return *JpegEncoder::encode(test::screenshotLikeImage(200, 120), 0.92, 1); }

// A PNG whose header declares this size, with a token of image data.
QByteArray pngDeclaring(quint32 width, quint32 height)
{
    QByteArray file("\x89PNG\r\n\x1a\n", 8), header(13, '\0');
    qToBigEndian(width, header.data());
    qToBigEndian(height, header.data() + 4);
    header[8] = 8;
    header[9] = 2;
    test::appendChunk(file, "IHDR", header);
    test::appendChunk(file, "IDAT", QByteArray("\x78\x01\x01\x00\x00\xff\xff\x00\x00\x00\x01", 11));
    test::appendChunk(file, "IEND", {});
    return file;
}

QByteArray jpegDeclaring(int width, int height)
{
    QByteArray file = jpeg();
    const qsizetype frame = file.indexOf("\xFF\xC0");
    qToBigEndian(quint16(height), file.data() + frame + 5);
    qToBigEndian(quint16(width), file.data() + frame + 7);
    return file;
}

QByteArray withCorruptIdatCrc()
{
    QByteArray file = png();
    const qsizetype idat = file.indexOf("IDAT");
    const qsizetype crc = idat + 4 + qFromBigEndian<quint32>(file.constData() + idat - 4);
    file[crc] = char(~file[crc]);
    return file;
}

struct BadFile {
    const char* name;
    LoadError::Kind expected;
    // Makes the file at the path; returns false where this machine cannot make it.
    std::function<bool(const QString& path)> make;
};

std::function<bool(const QString&)> bytes(QByteArray content)
{
    return [content](const QString& path) {
        test::writeFile(path, content);
        return true;
    };
}

} // namespace

TEST(ImageInput, HostileFilesGiveAClearErrorAndWriteNothing)
{
    using Kind = LoadError::Kind;
    const QByteArray whole = png();
    const std::vector<BadFile> table = {
        {"empty.png", Kind::notAnImage, bytes({})},
        {"one-byte.png", Kind::notAnImage, bytes("\x89")},
        {"signature-only.png", Kind::notAnImage, bytes(whole.left(8))},
        {"truncated-in-data.png", Kind::notAnImage, bytes(whole.left(whole.indexOf("IDAT") + 200))},
        {"bad-crc.png", Kind::notAnImage, bytes(withCorruptIdatCrc())},
        {"width-zero.png", Kind::notAnImage, bytes(pngDeclaring(0, 10))},
        {"huge.png", Kind::tooLarge, bytes(pngDeclaring(100000, 100000))},
        {"beyond-side.png", Kind::tooLarge, bytes(test::zeroPng(ImageLoading::maxSide + 1, 1, 8, 2))},
        {"bomb.png", Kind::tooLarge, bytes(test::zeroPng(30000, 30000, 8, 6))}, // 3.6 GB from 3.5 MB
        {"no-end-marker.jpg", Kind::notAnImage, bytes(jpeg().chopped(2))},
        {"huge.jpg", Kind::tooLarge, bytes(jpegDeclaring(65500, 65500))},
        {"notes.png", Kind::notAnImage, bytes("This is a text file, not a picture.\n")},
        {"folder.png", Kind::notAFile, [](const QString& path) { return QDir().mkdir(path); }},
        {"locked.png", Kind::unreadable,
         [&](const QString& path) {
             test::writeFile(path, whole);
             // Permissions bind everyone but the superuser.
             return ::chmod(QFile::encodeName(path), 0) == 0 && ::geteuid() != 0;
         }},
        {"pipe.png", Kind::notAFile, [](const QString& path) { return ::mkfifo(QFile::encodeName(path), 0600) == 0; }},
        {"zero.png", Kind::notAFile,
         [](const QString& path) { return QFile::link(QStringLiteral("/dev/zero"), path); }},
        {"loop.png", Kind::unreadable,
         [](const QString& path) { return QFile::link(path + ".other", path) && QFile::link(path, path + ".other"); }},
        {"vanished.png", Kind::notFound,
         [&](const QString& path) {
             test::writeFile(path, whole);
             return QFile::remove(path);
         }},
    };
    QTemporaryDir dir;
    for (const BadFile& bad : table) {
        SCOPED_TRACE(bad.name);
        const QString path = dir.filePath(QString::fromLatin1(bad.name));
        if (!bad.make(path))
            continue;
        const QStringList before = test::entriesOf(dir.path());
        const QByteArray content = QFileInfo(path).isFile() ? test::readFile(path) : QByteArray();
        const ImageLoading::LoadResult result = ImageLoading::loadFile(path);
        const LoadError* error = std::get_if<LoadError>(&result);
        ASSERT_TRUE(error);
        EXPECT_EQ(error->kind(), bad.expected);
        EXPECT_FALSE(error->message().isEmpty());
        EXPECT_TRUE(error->detail().contains(QString::fromLatin1(bad.name))) << error->detail().toStdString();
        EXPECT_EQ(test::entriesOf(dir.path()), before);
        if (!content.isEmpty()) {
            EXPECT_EQ(test::readFile(path), content);
            EXPECT_FALSE(ImageLoading::load(content, QStringLiteral("bytes"))) << "the same bytes as data";
        }
    }
}

TEST(ImageInput, FilesOtherProgramsWriteLoadAsViewersShowThem)
{
    const QImage picture = test::screenshotLikeImage(37, 29);
    const auto load = [](const QByteArray& file) {
        return ImageLoading::load(file, QStringLiteral("file")).value_or(LoadedImage{}).image;
    };
    // Qt's own decoder is the oracle where it reads the format correctly.
    const auto asQtReadsIt = [](const QByteArray& file) {
        return QImage::fromData(file).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    };

    QImage deep(12, 8, QImage::Format_RGBA64);
    deep.fill(QColor::fromRgba64(0x1234, 0xABCD, 0x7777, 0x8000));
    const QByteArray deepPng = test::encodedByQt(deep, "png");
    EXPECT_EQ(load(deepPng), asQtReadsIt(deepPng)) << "16-bit PNG with alpha";

    EXPECT_EQ(load(files::interlacedPng(picture)), picture.convertToFormat(QImage::Format_ARGB32_Premultiplied))
        << "interlaced PNG";

    QImage palette(4, 2, QImage::Format_Indexed8);
    palette.setColorTable({qRgba(200, 0, 0, 255), qRgba(0, 0, 0, 0)});
    palette.fill(0);
    palette.setPixel(1, 0, 1);
    const QImage indexed = load(test::encodedByQt(palette, "png"));
    EXPECT_EQ(indexed.pixel(0, 0), qRgb(200, 0, 0)) << "palette PNG";
    EXPECT_EQ(qAlpha(indexed.pixel(1, 0)), 0) << "palette PNG with transparency";

    QImage grey(6, 6, QImage::Format_Grayscale8);
    grey.fill(77);
    EXPECT_EQ(load(test::encodedByQt(grey, "png")).pixel(3, 3), qRgb(77, 77, 77)) << "grey PNG";

    const QImage cyan = load(files::cmykJpeg(16, 16, QColor::fromCmyk(255, 0, 0, 0)));
    ASSERT_EQ(cyan.size(), QSize(16, 16)) << "CMYK JPEG";
    EXPECT_LT(qRed(cyan.pixel(8, 8)), 40);
    EXPECT_GT(qGreen(cyan.pixel(8, 8)), 215);
    EXPECT_GT(qBlue(cyan.pixel(8, 8)), 215);

    const QByteArray progressive = files::progressiveJpeg(picture);
    EXPECT_EQ(load(progressive), asQtReadsIt(progressive)) << "progressive JPEG";

    // Stored sideways, to be turned a quarter clockwise: the red left half becomes the top half.
    QImage sideways(40, 20, QImage::Format_RGB32);
    sideways.fill(Qt::blue);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            sideways.setPixel(x, y, qRgb(255, 0, 0));
    const QImage upright = load(files::withExif(*JpegEncoder::encode(sideways, 0.95, 1), {{0x0112, 3, 6}}));
    ASSERT_EQ(upright.size(), QSize(20, 40)) << "JPEG with EXIF orientation 6";
    EXPECT_GT(qRed(upright.pixel(10, 5)), 200);
    EXPECT_GT(qBlue(upright.pixel(10, 35)), 200);

    const QImage firstPage = load(files::twoPageTiff(QSize(9, 7), QColor(10, 120, 230), QColor(250, 250, 0)));
    ASSERT_EQ(firstPage.size(), QSize(9, 7)) << "multi-page TIFF";
    EXPECT_EQ(firstPage.pixel(4, 3), qRgb(10, 120, 230));

    const QImage firstFrame = load(files::twoFrameGif(QSize(11, 5), QColor(0, 160, 80), QColor(255, 0, 255)));
    ASSERT_EQ(firstFrame.size(), QSize(11, 5)) << "animated GIF";
    EXPECT_EQ(firstFrame.pixel(10, 4), qRgb(0, 160, 80));
}
