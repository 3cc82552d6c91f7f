// Text recognition through the worker process with the real Tesseract models, on interface text drawn with real
// fonts.
#include "core/analysis/RecognitionWorker.h"
#include "core/analysis/TextRecognizer.h"
#include "support/InterfaceScreenshot.h"
#include "support/ScreenTextPictures.h"

#include <QDir>
#include <QFile>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <thread>

using namespace lumivex;
using namespace lumivex::test;

namespace {

const QStringList koreanFirst{QStringLiteral("ko-KR"), QStringLiteral("en-US")};

class TextRecognitionTest : public testing::Test {
protected:
    static void SetUpTestSuite() { worker = new RecognitionWorker; }
    static void TearDownTestSuite() { delete worker; }

    static RecognizedText read(const QImage& image, const std::optional<Rect>& region = std::nullopt)
    {
        const TextResult result = TextRecognizer::recognize(*worker, image, region, koreanFirst);
        if (const RecognitionError* error = std::get_if<RecognitionError>(&result)) {
            ADD_FAILURE() << error->detail().toStdString();
            return {};
        }
        return std::get<RecognizedText>(result);
    }

    static RecognitionWorker* worker;
};

RecognitionWorker* TextRecognitionTest::worker = nullptr;

// Until the process and all its threads have ended: only then can its parent see its end.
void waitUntilEnded(pid_t pid)
{
    for (;;) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            return;
        const bool zombie = stat.readAll().contains(") Z ");
        if (zombie && QDir(QStringLiteral("/proc/%1/task").arg(pid)).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size() <= 1)
            return;
        QThread::msleep(1);
    }
}

// The index of the read line closest to each expected line: increasing when the lines came back in reading order.
std::vector<int> closestLines(const QStringList& expected, const RecognizedText& read)
{
    std::vector<int> indices;
    for (const QString& line : expected) {
        int best = -1, bestDistance = 1 << 30;
        for (int i = 0; i < int(read.lines.size()); ++i) {
            const int distance = ScreenTextPictures::editDistance(line, read.lines[i].text);
            if (distance < bestDistance)
                best = i, bestDistance = distance;
        }
        indices.push_back(best);
    }
    return indices;
}

TEST_F(TextRecognitionTest, KoreanAndEnglishInterfaceLinesComeBackInReadingOrderLightAndDarkAtBothScales)
{
    for (const ScreenTextPicture& picture : ScreenTextPictures::all()) {
        const RecognizedText text = read(picture.image);
        const auto errors = ScreenTextPictures::characterErrors(picture.lines, text.text());
        // Far above what the recogniser reaches here; a picture read in the wrong polarity or order is far worse.
        EXPECT_LT(errors.rate(), 0.05) << picture.name.toStdString() << " read as:\n" << text.text().toStdString();
        const std::vector<int> order = closestLines(picture.lines, text);
        EXPECT_TRUE(std::is_sorted(order.begin(), order.end())) << picture.name.toStdString();
        for (const RecognizedText::Line& line : text.lines)
            EXPECT_TRUE(Rect(0, 0, picture.image.width(), picture.image.height()).contains(line.rect))
                << picture.name.toStdString();
    }
}

TEST_F(TextRecognitionTest, ARegionIsReadAloneWithRectanglesInThePicturesPixels)
{
    const ScreenTextPicture picture = ScreenTextPictures::panel(true, 1, 0, 12);
    // The lower half of the panel, from a fractional rectangle: rounded outwards to whole pixels.
    const Rect lowerHalf(0.5, 192.3, 519.2, 191.7);
    QStringList expected;
    std::vector<QRect> expectedRects;
    for (int i = 0; i < picture.lines.size(); ++i) {
        if (picture.rects[i].top() >= 192) {
            expected << picture.lines[i];
            expectedRects.push_back(picture.rects[i]);
        }
    }
    const RecognizedText text = read(picture.image, lowerHalf);
    EXPECT_LT(ScreenTextPictures::characterErrors(expected, text.text()).rate(), 0.05) << text.text().toStdString();
    // Each line lies where its text was drawn, in the whole picture's pixels.
    const std::vector<int> closest = closestLines(expected, text);
    for (int i = 0; i < expected.size(); ++i) {
        ASSERT_GE(closest[i], 0);
        const Rect& found = text.lines[closest[i]].rect;
        EXPECT_NEAR(found.midY(), expectedRects[i].center().y(), 3.0) << expected[i].toStdString();
        EXPECT_NEAR(found.minX(), expectedRects[i].left(), 4.0) << expected[i].toStdString();
    }
}

TEST_F(TextRecognitionTest, AnEmptyOrOffPictureRegionIsEmptyWithoutStartingTheWorker)
{
    RecognitionWorker idle;
    const QImage image = ScreenTextPictures::panel(false, 1, 0, 2).image;
    for (const Rect& region : {Rect(10.3, 10.3, 0.4, 0.4), Rect(-50, -50, 20, 20), Rect(0, 0, 0, 0),
                               Rect(std::nan(""), 0, 10, 10), Rect(600, 10, 100, 100)}) {
        const TextResult result = TextRecognizer::recognize(idle, image, region, koreanFirst);
        ASSERT_TRUE(std::holds_alternative<RecognizedText>(result));
        EXPECT_TRUE(std::get<RecognizedText>(result).lines.empty());
    }
    EXPECT_EQ(idle.processesStarted(), 0);
}

TEST_F(TextRecognitionTest, AWorkerKilledMidRequestFailsThatRequestAndTheNextStartsANewOne)
{
    RecognitionWorker own;
    const QImage screenshot = InterfaceScreenshot::faceless();
    TextResult killed = RecognizedText{};
    std::thread request([&] { killed = TextRecognizer::recognize(own, screenshot, std::nullopt, koreanFirst); });
    while (own.processId() == 0)
        QThread::msleep(1);
    ::kill(own.processId(), SIGKILL);
    request.join();
    ASSERT_TRUE(std::holds_alternative<RecognitionError>(killed));
    EXPECT_FALSE(std::get<RecognitionError>(killed).detail().isEmpty());

    const ScreenTextPicture picture = ScreenTextPictures::panel(false, 2, 0, 2);
    const TextResult next = TextRecognizer::recognize(own, picture.image, std::nullopt, koreanFirst);
    ASSERT_TRUE(std::holds_alternative<RecognizedText>(next));
    EXPECT_LT(ScreenTextPictures::characterErrors(picture.lines, std::get<RecognizedText>(next).text()).rate(), 0.05);
    EXPECT_EQ(own.processesStarted(), 2);

    // A worker that died while idle is replaced without failing anyone.
    const pid_t idle = own.processId();
    ::kill(idle, SIGKILL);
    waitUntilEnded(idle);
    EXPECT_TRUE(std::holds_alternative<RecognizedText>(TextRecognizer::recognize(own, picture.image, std::nullopt, koreanFirst)));
    EXPECT_EQ(own.processesStarted(), 3);
}

TEST_F(TextRecognitionTest, AMissingWorkerProgramIsAClearError)
{
    RecognitionWorker missing(QStringLiteral("/nonexistent/lumivex-ocr-worker"));
    const TextResult result = TextRecognizer::recognize(missing, ScreenTextPictures::panel(false, 1, 0, 1).image,
                                                        std::nullopt, koreanFirst);
    ASSERT_TRUE(std::holds_alternative<RecognitionError>(result));
    EXPECT_TRUE(std::get<RecognitionError>(result).detail().contains(QStringLiteral("/nonexistent/lumivex-ocr-worker")));
}

} // namespace
