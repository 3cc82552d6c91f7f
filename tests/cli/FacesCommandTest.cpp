#include "support/FacePhotos.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct CliRun {
    int exitCode = -1;
    QByteArray output;
};

CliRun cli(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(LUMIVEX_CLI_EXECUTABLE), QStringList{QStringLiteral("faces")} + arguments);
    process.waitForFinished(-1);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput()};
}

TEST(FacesCommand, PrintsTheFacesAndWritesThemCovered)
{
    const QString photo = lumivex::test::packagedFile("/usr/share/doc/libdlib*/examples/faces/2008_002506.jpg");
    if (photo.isEmpty())
        GTEST_SKIP() << "the test photographs of libdlib-dev are not installed";
    const CliRun json = cli({photo, "--json"});
    ASSERT_EQ(json.exitCode, 0);
    const QJsonArray faces = QJsonDocument::fromJson(json.output).array();
    ASSERT_EQ(faces.size(), 3); // three men in a row

    QTemporaryDir dir;
    const QString covered = dir.filePath("covered.png");
    const CliRun cover = cli({photo, "--cover=pixelate", "--output=" + covered});
    ASSERT_EQ(cover.exitCode, 0);
    EXPECT_EQ(cover.output.count('\n'), 3); // the same faces, one "x y width height" line each
    EXPECT_TRUE(cover.output.startsWith(QByteArray::number(faces[0].toObject()["x"].toInt()) + ' '));
    const QImage before = QImage(photo).convertToFormat(QImage::Format_RGB32);
    const QImage after = QImage(covered).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after.pixel(2, 2), before.pixel(2, 2)); // far from every face
    for (const auto& face : faces) {
        const QJsonObject f = face.toObject();
        const QRect rect(f["x"].toInt(), f["y"].toInt(), f["width"].toInt(), f["height"].toInt());
        EXPECT_NE(after.copy(rect), before.copy(rect)) << "face at " << rect.x() << ", " << rect.y() << " still shows";
    }

    EXPECT_EQ(cli({photo, "--cover=emoji"}).exitCode, 2);                       // no output named
    EXPECT_EQ(cli({photo, "--cover=paint", "--output=" + covered}).exitCode, 2); // no such cover
    EXPECT_EQ(cli({dir.filePath("missing.png")}).exitCode, 1);
    const QString small = dir.filePath("small.png");
    ASSERT_TRUE(before.copy(0, 0, 40, 40).save(small));
    EXPECT_EQ(cli({small, "--cover=blur", "--output=" + dir.filePath("no/such/folder.png")}).exitCode, 1);
}

} // namespace
