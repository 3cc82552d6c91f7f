#include "support/ScreenTextPictures.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using lumivex::test::ScreenTextPictures::characterErrors;

struct CliRun {
    int exitCode = -1;
    QByteArray output;
    QByteArray errors;
};

CliRun ocr(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(LUMIVEX_CLI_EXECUTABLE), QStringList{QStringLiteral("ocr")} + arguments);
    process.waitForFinished(-1);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

TEST(OcrCommand, PrintsTheTextInReadingOrderOrAsJsonLinesAndReadsARegion)
{
    QTemporaryDir dir;
    const auto picture = lumivex::test::ScreenTextPictures::panel(true, 1, 0, 4);
    const QString file = dir.filePath(QStringLiteral("panel.png"));
    ASSERT_TRUE(picture.image.save(file));

    const CliRun plain = ocr({file, QStringLiteral("--languages"), QStringLiteral("ko-KR,en-US")});
    ASSERT_EQ(plain.exitCode, 0) << plain.errors.toStdString();
    EXPECT_LT(characterErrors(picture.lines, QString::fromUtf8(plain.output)).rate(), 0.05) << plain.output.toStdString();

    const CliRun json = ocr({file, QStringLiteral("--json"), QStringLiteral("--region"), QStringLiteral("0,0,520,55")});
    ASSERT_EQ(json.exitCode, 0) << json.errors.toStdString();
    const QJsonArray lines = QJsonDocument::fromJson(json.output).array();
    ASSERT_FALSE(lines.isEmpty()) << json.output.toStdString();
    QStringList texts;
    for (const QJsonValue& line : lines) {
        texts << line[QStringLiteral("text")].toString();
        EXPECT_LE(line[QStringLiteral("y")].toDouble() + line[QStringLiteral("height")].toDouble(), 55.0);
    }
    EXPECT_LT(characterErrors(picture.lines.mid(0, 2), texts.join('\n')).rate(), 0.1) << json.output.toStdString();
}

TEST(OcrCommand, BadInputIsAMessageAndANonZeroExit)
{
    QTemporaryDir dir;
    const QString garbage = dir.filePath(QStringLiteral("garbage.png"));
    QFile file(garbage);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\x89PNG\r\n\x1a\n not really");
    file.close();
    const CliRun unreadable = ocr({garbage});
    EXPECT_EQ(unreadable.exitCode, 1);
    EXPECT_TRUE(unreadable.errors.contains("garbage.png"));
    EXPECT_TRUE(unreadable.output.isEmpty());

    EXPECT_EQ(ocr({}).exitCode, 2);
    EXPECT_EQ(ocr({garbage, QStringLiteral("--region"), QStringLiteral("1,2,3")}).exitCode, 2);
    EXPECT_EQ(ocr({garbage, QStringLiteral("--region"), QStringLiteral("0,0,-5,5")}).exitCode, 2);
    EXPECT_EQ(ocr({garbage, QStringLiteral("--region")}).exitCode, 2);
    const CliRun unknown = ocr({garbage, QStringLiteral("--languages"), QStringLiteral("xx-YY")});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.errors.contains("xx-YY"));
}

} // namespace
