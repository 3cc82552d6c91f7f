// The blur and the renderer, each beside a reference measured in the same run: our gaussian patch beside
// OpenCV's GaussianBlur (same sigma, edges replicated) on a 1024 x 768 screenshot, and flattening a 5K document
// with 50 annotations beside one memcpy of its canvas buffer.
#include "BenchGoals.h"

#include "core/document/EditorState.h"
#include "core/document/BlurCache.h"
#include "core/render/BlurRenderer.h"
#include "core/render/Renderer.h"
#include "samples/SampleAnnotations.h"
#include "samples/TestImages.h"

#include <QGuiApplication>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <cmath>
#include <cstring>
#include <vector>

using namespace lumivex;

namespace {

constexpr double blurSigma = 30;

const QImage& blurSource()
{
    static const QImage image = test::screenshotLikeImage(1024, 768);
    return image;
}

cv::Mat wrap(const QImage& image)
{
    return cv::Mat(image.height(), image.width(), CV_8UC4, const_cast<uchar*>(image.constBits()),
                   std::size_t(image.bytesPerLine()));
}

cv::Mat openCvGaussian()
{
    cv::Mat out;
    cv::GaussianBlur(wrap(blurSource()), out, cv::Size(), blurSigma, blurSigma, cv::BORDER_REPLICATE);
    return out;
}

void BM_OpenCvGaussian(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(openCvGaussian().data);
}
BENCHMARK(BM_OpenCvGaussian)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

void BM_GaussianPatch(benchmark::State& state)
{
    const QImage& source = blurSource();
    for (auto _ : state)
        benchmark::DoNotOptimize(BlurRenderer::gaussianPatch(source, source.rect(), blurSigma).constBits());
}
BENCHMARK(BM_GaussianPatch)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

// Over all four channels, against OpenCV's result as the reference.
double psnrAgainstOpenCv()
{
    const QImage ours = BlurRenderer::gaussianPatch(blurSource(), blurSource().rect(), blurSigma);
    const cv::Mat reference = openCvGaussian();
    double squares = 0;
    for (int y = 0; y < ours.height(); ++y) {
        const uchar* a = ours.constScanLine(y);
        const uchar* b = reference.ptr<uchar>(y);
        for (int x = 0; x < ours.width() * 4; ++x)
            squares += double(a[x] - b[x]) * double(a[x] - b[x]);
    }
    const double mse = squares / (double(ours.width()) * ours.height() * 4);
    return mse > 0 ? 10 * std::log10(255.0 * 255.0 / mse) : 99;
}

// A 5K document with 50 annotations of every kind, 5 of them blur regions.
const EditorState& document()
{
    static const EditorState state = [] {
        EditorState s(test::screenshotLikeImage(5120, 2880));
        s.annotations = test::sampleAnnotations(s.image.size(), 50, 5);
        return s;
    }();
    return state;
}

void BM_CanvasMemcpy(benchmark::State& state)
{
    const std::size_t bytes = std::size_t(document().image.width()) * document().image.height() * 4;
    std::vector<uchar> target(bytes);
    for (auto _ : state) {
        std::memcpy(target.data(), document().image.constBits(), bytes);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CanvasMemcpy)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

void BM_MakeImage(benchmark::State& state)
{
    BlurCache cache;
    Renderer::makeImage(document(), &cache); // the blur patches are cached, as on a repeated copy
    for (auto _ : state)
        benchmark::DoNotOptimize(Renderer::makeImage(document(), &cache));
}
BENCHMARK(BM_MakeImage)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

double ratio(const bench::GoalReporter& reporter, const std::string& numerator, const std::string& denominator)
{
    const double top = reporter.seconds(numerator), bottom = reporter.seconds(denominator);
    return top > 0 && bottom > 0 ? top / bottom : 0;
}

} // namespace

int main(int argc, char** argv)
{
    // Text and emoji need the Gui application; no display is used.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    blurSource(); // made once, outside the measurements
    document();
    auto& reporter = bench::runBenchmarks(argc, argv);
    const double speedup = ratio(reporter, "BM_OpenCvGaussian/min_time:2.000/real_time",
                                 "BM_GaussianPatch/min_time:2.000/real_time");
    if (speedup > 0)
        bench::printGoal("blur-speed", speedup, bench::Op::atLeast, 4, "x");
    bench::printGoal("blur-psnr", psnrAgainstOpenCv(), bench::Op::atLeast, 50, "dB");
    const double flatten = ratio(reporter, "BM_MakeImage/min_time:3.000/real_time", "BM_CanvasMemcpy/min_time:2.000/real_time");
    if (flatten > 0)
        bench::printGoal("flatten-vs-memcpy", flatten, bench::Op::atMost, 15, "x");
    return 0;
}
