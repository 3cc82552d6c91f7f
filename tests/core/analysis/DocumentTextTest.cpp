// The document's text requests (background scan, cache, waiting requests) over the real worker and Tesseract.
#include "core/analysis/RecognitionWorker.h"
#include "core/analysis/WorkerTextReader.h"
#include "core/document/EditorDocument.h"
#include "support/ScreenTextPictures.h"

#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

using namespace lumivex;
using namespace lumivex::test;

namespace {

// The real reader, counting how often recognition really ran.
class CountingReader : public TextReader {
public:
    explicit CountingReader(RecognitionWorker& worker) : m_reader(QStringList{"ko-KR", "en-US"}, &worker) {}
    std::optional<QImage> picture(const EditorDocument& document) const override { return m_reader.picture(document); }
    TextResult read(const QImage& picture, const std::optional<Rect>& region) const override
    {
        ++reads;
        return m_reader.read(picture, region);
    }
    mutable std::atomic<int> reads = 0;

private:
    WorkerTextReader m_reader;
};

class DocumentTextTest : public testing::Test {
protected:
    static void SetUpTestSuite() { worker = new RecognitionWorker; }
    static void TearDownTestSuite() { delete worker; }

    DocumentTextTest() : picture(ScreenTextPictures::panel(false, 2, 0, 3)), reader(std::make_shared<CountingReader>(*worker))
    {
        document = std::make_unique<EditorDocument>(LoadedImage{picture.image, 2, QStringLiteral("text")});
        document->setTextReader(reader);
    }

    // Requests a recognition and waits for its completion on the main thread.
    TextResult recognize(const std::optional<Rect>& region = std::nullopt)
    {
        std::optional<TextResult> result;
        document->recognizeText(region, [&](const TextResult& r) { result = r; });
        EXPECT_TRUE(QTest::qWaitFor([&] { return result.has_value(); }, 120'000));
        return result.value_or(RecognitionError::recognitionFailed(QStringLiteral("no answer")));
    }

    static RecognizedText textOf(const TextResult& result)
    {
        if (const RecognitionError* error = std::get_if<RecognitionError>(&result))
            ADD_FAILURE() << error->detail().toStdString();
        const RecognizedText* text = std::get_if<RecognizedText>(&result);
        return text ? *text : RecognizedText{};
    }

    void waitForScan()
    {
        EXPECT_TRUE(QTest::qWaitFor([&] { return document->textScan().state != TextScan::State::scanning; }, 120'000));
    }

    static RecognitionWorker* worker;
    ScreenTextPicture picture;
    std::shared_ptr<CountingReader> reader;
    std::unique_ptr<EditorDocument> document;
};

RecognitionWorker* DocumentTextTest::worker = nullptr;

TEST_F(DocumentTextTest, ARequestDuringTheScanTakesTheScansTextAndLaterCopiesComeFromTheCacheUntilAnEdit)
{
    Annotation box(AnnotationKind::rectangle);
    box.frame = Rect(900, 150, 60, 40); // beside the text
    document->add(box);

    document->scanText();
    EXPECT_EQ(document->textScan(), TextScan::scanning());
    std::optional<TextResult> waiting;
    document->recognizeText(std::nullopt, [&](const TextResult& r) { waiting = r; });
    EXPECT_EQ(document->scanWaiterCount(), 1u);
    ASSERT_TRUE(QTest::qWaitFor([&] { return waiting.has_value(); }, 120'000));

    const RecognizedText scanned = textOf(*waiting);
    EXPECT_LT(ScreenTextPictures::characterErrors(picture.lines, scanned.text()).rate(), 0.05) << scanned.text().toStdString();
    EXPECT_EQ(document->textScan(), TextScan::found(scanned.characterCount()));
    EXPECT_EQ(document->scanWaiterCount(), 0u);
    EXPECT_EQ(reader->reads, 1);

    // Served at once, before this call returns.
    std::optional<TextResult> cached;
    document->recognizeText(std::nullopt, [&](const TextResult& r) { cached = r; });
    ASSERT_TRUE(cached.has_value());
    EXPECT_EQ(textOf(*cached), scanned);
    EXPECT_EQ(reader->reads, 1);

    // Moving the box changes the content: read again. The scan itself stays done.
    document->perform(QStringLiteral("이동"), [&](EditorState& state) { state.annotations.back().frame.x += 10; });
    EXPECT_EQ(textOf(recognize()), scanned);
    EXPECT_EQ(reader->reads, 2);
    document->scanText();
    EXPECT_EQ(document->textScan(), TextScan::found(scanned.characterCount()));
}

TEST_F(DocumentTextTest, TextUnderABlurIsNeverRead)
{
    Annotation blur(AnnotationKind::blur);
    blur.frame = Rect(0, 0, picture.image.width(), picture.image.height());
    document->add(blur);
    document->scanText();
    waitForScan();
    EXPECT_EQ(document->textScan(), TextScan::none());
    const RecognizedText text = textOf(recognize());
    EXPECT_TRUE(text.isEmpty()) << text.text().toStdString();
}

TEST_F(DocumentTextTest, ATinyRegionIsEmptyWithoutStartingRecognitionAndARealOneIsRead)
{
    RecognitionWorker idle;
    document->setTextReader(std::make_shared<WorkerTextReader>(QStringList{"ko-KR"}, &idle));
    EXPECT_TRUE(textOf(recognize(Rect(100.3, 40.3, 0.4, 0.4))).lines.empty());
    EXPECT_EQ(idle.processesStarted(), 0);

    // The first line's band, in base-image pixels.
    const RecognizedText first = textOf(recognize(Rect(0, 0, picture.image.width(), 60)));
    EXPECT_LT(ScreenTextPictures::characterErrors(picture.lines.mid(0, 1), first.text()).rate(), 0.2) << first.text().toStdString();
}

TEST_F(DocumentTextTest, ADocumentClosedWhileRecognitionRunsIsNotTouchedAndTheCompletionStillRuns)
{
    bool scanCompleted = false, regionCompleted = false;
    document->scanText();
    document->recognizeText(std::nullopt, [&](const TextResult&) { scanCompleted = true; }); // waits on the scan
    document->recognizeText(Rect(0, 0, 200, 60), [&](const TextResult& r) { regionCompleted = std::holds_alternative<RecognizedText>(r); });
    document.reset();
    ASSERT_TRUE(QTest::qWaitFor([&] { return regionCompleted; }, 120'000));
    // Let the scan's answer arrive too: it finds no document to store into.
    EXPECT_TRUE(QTest::qWaitFor([&] { return reader->reads == 2; }, 120'000));
    QTest::qWait(100);
    // A request waiting on the scan of a closed document is dropped with it.
    EXPECT_FALSE(scanCompleted);
}

} // namespace
