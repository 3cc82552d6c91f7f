// PNG encoding of a 5K screenshot: Qt's default PNG writer (libpng, zlib level 6) beside our file encoder
// (libdeflate) and our clipboard encoder (igzip level 1), all measured in the same run.
#include "BenchGoals.h"

#include "core/render/PngEncoder.h"
#include "samples/TestImages.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImageWriter>

using namespace lumivex;

namespace {

const QImage& screenshot()
{
    static const QImage image = test::screenshotLikeImage(5120, 2880);
    return image;
}

void BM_QtPngWriter(benchmark::State& state)
{
    qsizetype bytes = 0;
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QImageWriter(&buffer, "png").write(screenshot());
        bytes = buffer.size();
    }
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_QtPngWriter)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

void encodeWith(benchmark::State& state, PngEncoder::Effort effort)
{
    qsizetype bytes = 0;
    for (auto _ : state) {
        const std::optional<QByteArray> png = PngEncoder::encode(screenshot(), 2, effort);
        bytes = png ? png->size() : 0;
    }
    state.counters["bytes"] = double(bytes);
}

void BM_SaveEncoder(benchmark::State& state) { encodeWith(state, PngEncoder::Effort::compact); }
BENCHMARK(BM_SaveEncoder)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

void BM_ClipboardEncoder(benchmark::State& state) { encodeWith(state, PngEncoder::Effort::fast); }
BENCHMARK(BM_ClipboardEncoder)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

void printRatios(const bench::GoalReporter& reporter, const std::string& ours, const char* speedGoal,
                 double speedTarget, const char* sizeGoal, double sizeTarget)
{
    const std::string reference = "BM_QtPngWriter/min_time:3.000/real_time";
    const std::string name = ours + "/min_time:3.000/real_time";
    const double referenceSeconds = reporter.seconds(reference), seconds = reporter.seconds(name);
    const double referenceBytes = reporter.counter(reference, "bytes"), bytes = reporter.counter(name, "bytes");
    if (referenceSeconds <= 0 || seconds <= 0 || referenceBytes <= 0 || bytes <= 0)
        return;
    bench::printGoal(speedGoal, referenceSeconds / seconds, bench::Op::atLeast, speedTarget, "x");
    bench::printGoal(sizeGoal, bytes / referenceBytes, bench::Op::atMost, sizeTarget, "x");
}

} // namespace

int main(int argc, char** argv)
{
    // The test picture draws text, which needs the Gui application; no display is used.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    screenshot(); // drawn once, outside the measurements
    auto& reporter = bench::runBenchmarks(argc, argv);
    printRatios(reporter, "BM_SaveEncoder", "png-save-speed", 3, "png-save-size", 1.0);
    printRatios(reporter, "BM_ClipboardEncoder", "png-clipboard-speed", 8, "png-clipboard-size", 1.1);
    return 0;
}
