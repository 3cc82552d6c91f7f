// Text recognition of a 1920 x 1080 interface screenshot, both passes, warm: our worker process beside the
// reference of Tesseract in its default configuration in this process (default threading, kor+eng, automatic page
// segmentation, no preparation, the two passes one after the other). Then the character error rate of both over the
// fixture set of interface lines (Korean and English, light and dark, scales 1 and 2), and the first request of a
// cold worker, which includes starting it and loading the models.
#include "BenchGoals.h"
#include "core/analysis/RecognitionWorker.h"
#include "core/analysis/TextRecognizer.h"
#include "support/InterfaceScreenshot.h"
#include "support/ScreenTextPictures.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>

#include <tesseract/baseapi.h>

#include <cstdio>
#include <map>
#include <memory>
#include <unistd.h>

using namespace lumivex;
using test::ScreenTextPictures::ErrorCount;

namespace {

const QStringList preferred{QStringLiteral("ko-KR"), QStringLiteral("en-US")};

const QImage& screenshot()
{
    static const QImage image = test::InterfaceScreenshot::faceless();
    return image;
}

// Tesseract as the tesseract command uses it out of the box: one engine per pass, loaded once.
class PlainTesseract {
public:
    PlainTesseract()
    {
        for (auto& api : m_passes) {
            api = std::make_unique<tesseract::TessBaseAPI>();
            api->Init(TextRecognizer::modelFolder().toLocal8Bit().constData(), "kor+eng");
            api->SetVariable("debug_file", "/dev/null");
            // What the tesseract command does by default (the library alone would assume one block of text).
            api->SetPageSegMode(tesseract::PSM_AUTO);
        }
    }
    ~PlainTesseract()
    {
        for (auto& api : m_passes)
            api->End();
    }

    // Both passes one after the other; the text of the first.
    QString read(const QImage& picture)
    {
        const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
        QString text;
        for (auto& api : m_passes) {
            api->SetImage(rgb.constBits(), rgb.width(), rgb.height(), 3, int(rgb.bytesPerLine()));
            std::unique_ptr<char[]> utf8(api->GetUTF8Text());
            if (text.isEmpty() && utf8)
                text = QString::fromUtf8(utf8.get());
        }
        return text;
    }

private:
    std::unique_ptr<tesseract::TessBaseAPI> m_passes[2];
};

RecognitionWorker& worker()
{
    static RecognitionWorker shared;
    return shared;
}

QString ours(const QImage& picture)
{
    const TextResult result = TextRecognizer::recognize(worker(), picture, std::nullopt, preferred);
    if (const RecognitionError* error = std::get_if<RecognitionError>(&result)) {
        std::fprintf(stderr, "ocr: %s\n", qPrintable(error->detail()));
        return {};
    }
    return std::get<RecognizedText>(result).text();
}

double seconds(const QElapsedTimer& timer) { return double(timer.nsecsElapsed()) * 1e-9; }

// CPU seconds the worker process has used so far (all its threads): its cost whatever else the machine runs.
double workerCpuSeconds()
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(worker().processId()));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = stat.readAll().split(')').value(1).trimmed().split(' ');
    // After the command name: state is field 3 of stat(5), utime 14 and stime 15.
    return (fields.value(11).toDouble() + fields.value(12).toDouble()) / double(sysconf(_SC_CLK_TCK));
}

// The reference and ours take turns, so that whatever else runs on the machine weighs on both alike.
void BM_TwoPassesTakingTurns(benchmark::State& state)
{
    PlainTesseract tesseract;
    tesseract.read(screenshot());
    ours(screenshot()); // warm: the worker runs and its models are loaded
    double plain = 0, ourWall = 0, ourCpu = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        benchmark::DoNotOptimize(tesseract.read(screenshot()));
        plain += seconds(timer);
        const double cpuBefore = workerCpuSeconds();
        timer.restart();
        benchmark::DoNotOptimize(ours(screenshot()));
        ourWall += seconds(timer);
        ourCpu += workerCpuSeconds() - cpuBefore;
    }
    const double rounds = double(state.iterations());
    state.counters["plain_s"] = plain / rounds;
    state.counters["worker_s"] = ourWall / rounds;
    state.counters["worker_cpu_s"] = ourCpu / rounds;
}
BENCHMARK(BM_TwoPassesTakingTurns)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// Errors per picture, and per text size by matching each expected line with the read line closest to it.
struct Accuracy {
    ErrorCount total;
    std::map<QString, ErrorCount> byPicture;
    std::map<int, ErrorCount> bySize; // by font size in pixels of the picture (26 is 13 at scale 2)
};

Accuracy measure(const std::function<QString(const QImage&)>& read, bool showMisreads = false)
{
    Accuracy accuracy;
    for (const test::ScreenTextPicture& picture : test::ScreenTextPictures::all()) {
        const QString text = read(picture.image);
        const ErrorCount errors = test::ScreenTextPictures::characterErrors(picture.lines, text);
        accuracy.total += errors;
        accuracy.byPicture[picture.name] += errors;
        const QStringList read = text.split(QLatin1Char('\n'));
        for (int i = 0; i < picture.lines.size(); ++i) {
            const int size = picture.pixelSizes[i];
            ErrorCount best{1 << 30, 0};
            QString closest;
            for (const QString& line : read) {
                const int errors = test::ScreenTextPictures::characterErrors({picture.lines[i]}, line).errors;
                if (errors < best.errors)
                    best.errors = errors, closest = line;
            }
            if (showMisreads && best.errors > 0)
                std::printf("  misread (%s, %dpx): %s -> %s\n", qPrintable(picture.name), size,
                            qPrintable(picture.lines[i]), qPrintable(closest));
            best.characters = int(picture.lines[i].size());
            accuracy.bySize[size] += best;
        }
    }
    return accuracy;
}

void report(const char* who, const Accuracy& accuracy)
{
    std::printf("ocr-cer %s: %.2f%% over %d characters;", who, 100 * accuracy.total.rate(), accuracy.total.characters);
    for (const auto& [name, errors] : accuracy.byPicture)
        std::printf(" %s %.2f%%", qPrintable(name), 100 * errors.rate());
    std::printf("; by size (line-matched):");
    for (const auto& [size, errors] : accuracy.bySize)
        std::printf(" %dpx %.2f%%", size, 100 * errors.rate());
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (!TextRecognizer::installedModels().contains(QStringLiteral("kor"))) {
        std::fprintf(stderr, "the Korean model is missing: apt-get install tesseract-ocr-kor\n");
        return 1;
    }

    // Cold: a worker that has never run, so the time includes starting it and loading both passes' models.
    {
        RecognitionWorker cold;
        QElapsedTimer timer;
        timer.start();
        TextRecognizer::recognize(cold, screenshot(), std::nullopt, preferred);
        std::printf("ocr-cold: first request of a new worker on the 1920x1080 screenshot: %lld ms\n",
                    static_cast<long long>(timer.elapsed()));
    }

    auto& reporter = bench::runBenchmarks(argc, argv);
    const std::string turns = "BM_TwoPassesTakingTurns/iterations:3/real_time";
    const double plain = reporter.counter(turns, "plain_s");
    const double worker = reporter.counter(turns, "worker_s");
    std::printf("ocr-speed: 1920x1080 screenshot, both passes, warm: plain tesseract %.2f s, worker %.2f s (worker CPU "
                "%.2f s)\n", plain, worker, reporter.counter(turns, "worker_cpu_s"));

    PlainTesseract tesseract;
    report("plain tesseract", measure([&](const QImage& image) { return tesseract.read(image); }));
    const Accuracy accuracy = measure(ours, true);
    report("ours", accuracy);

    if (plain > 0 && worker > 0)
        bench::printGoal("ocr-speed", plain / worker, bench::Op::atLeast, 5, "x");
    bench::printGoal("ocr-cer", 100 * accuracy.total.rate(), bench::Op::atMost, 1.5, "%");
    return 0;
}
