// Freezing the screen: our one shared-memory grab of the root window beside QScreen::grabWindow(0) (the path
// other Qt screenshot tools take) and beside one memcpy of a buffer of the same size, in the same run. Also the
// time from `lumivex --capture=area` to its overlay being on screen.
//
// Without DISPLAY it starts its own Xvfb at 5120 × 2880 (with openbox and a few windows); with DISPLAY it
// measures that server, and leaves out the launch measurement (it needs a screen it may cover).

#include "BenchGoals.h"
#include "RootPixel.h"

#include "app/platform/X11CaptureBackend.h"
#include "app/platform/X11Connection.h"
#include "support/XServer.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QThread>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

using namespace lumivex;

namespace {

using Clock = std::chrono::steady_clock;

QList<DisplayShot> freeze(CaptureBackend& backend)
{
    QFuture<DisplayCapture> future = backend.captureDisplays();
    future.waitForFinished();
    const DisplayCapture result = future.result();
    return std::holds_alternative<QList<DisplayShot>>(result) ? std::get<QList<DisplayShot>>(result) : QList<DisplayShot>();
}

void freezeDisplays(benchmark::State& state, bool sharedMemory)
{
    X11CaptureBackend::Options options;
    options.allowSharedMemory = sharedMemory;
    X11CaptureBackend backend(options);
    for (auto _ : state) {
        const QList<DisplayShot> shots = freeze(backend);
        if (shots.isEmpty()) {
            state.SkipWithError("the displays could not be frozen");
            return;
        }
        benchmark::DoNotOptimize(shots.first().image.constBits());
    }
    if (sharedMemory && !backend.usedSharedMemory())
        state.SkipWithError("the server did not take the shared-memory path");
}

void qtGrabWindow(benchmark::State& state)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    for (auto _ : state) {
        const QPixmap pixmap = screen->grabWindow(0);
        if (pixmap.isNull()) {
            state.SkipWithError("QScreen::grabWindow returned nothing");
            return;
        }
        benchmark::DoNotOptimize(&pixmap);
    }
}

void memcpyOfTheScreen(benchmark::State& state, size_t bytes)
{
    // Both buffers are touched first: the reference is the copy itself, not page faults.
    std::vector<unsigned char> from(bytes, 0x5a);
    std::vector<unsigned char> to(bytes, 0);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}

using bench::rootPixel;

// From starting the process to the dimmed frozen screen being visible on the server.
void launchToOverlay(benchmark::State& state, const test::XServer* server)
{
    const std::shared_ptr<X11Connection> connection = X11Connection::open(server->display().toLatin1());
    const QStringList environment = server->environmentList({QStringLiteral("LUMIVEX_PLATFORM")});
    const uint32_t before = rootPixel(*connection, 20, 20);
    for (auto _ : state) {
        test::ChildProcess lumivex;
        const auto started = Clock::now();
        if (!lumivex.start({QStringLiteral(LUMIVEX_EXECUTABLE), {QStringLiteral("--capture=area")}, environment, -1, -1, -1})) {
            state.SkipWithError("cannot start lumivex");
            return;
        }
        const auto deadline = started + std::chrono::seconds(30);
        while (rootPixel(*connection, 20, 20) == before && Clock::now() < deadline)
            QThread::usleep(500);
        const auto shown = Clock::now();
        state.SetIterationTime(std::chrono::duration<double>(shown - started).count());
        server->xdotool({QStringLiteral("key"), QStringLiteral("Escape")});
        lumivex.stop(); // a capture started this way leaves Lumivex resident
        // Let the screen settle back before the next launch.
        while (rootPixel(*connection, 20, 20) != before && Clock::now() < deadline)
            QThread::usleep(500);
    }
}

} // namespace

int main(int argc, char** argv)
{
    std::unique_ptr<test::XServer> server;
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        server = std::make_unique<test::XServer>(test::XServer::Options{5120, 2880, true, true});
        if (!server->isRunning()) {
            std::fprintf(stderr, "cannot start Xvfb: %s\n", qPrintable(server->errorString()));
            return 1;
        }
        const std::vector<std::pair<QRect, QColor>> windows{{{0, 0, 1200, 900}, QColor(235, 235, 240)},
                                                             {{800, 400, 2400, 1500}, QColor(60, 90, 200)},
                                                             {{3000, 1200, 1800, 1400}, QColor(230, 120, 40)}};
        for (const auto& [geometry, color] : windows) {
            test::TestWindowOptions options;
            options.geometry = geometry;
            options.color = color;
            server->createWindow(options);
        }
        qputenv("DISPLAY", server->display().toLatin1());
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    const QSize screen = QGuiApplication::primaryScreen()->virtualSize() * QGuiApplication::primaryScreen()->devicePixelRatio();
    const size_t bytes = size_t(screen.width()) * size_t(screen.height()) * 4;
    std::printf("screen %d x %d pixels (%.1f MB)\n", screen.width(), screen.height(), bytes / 1e6);

    benchmark::RegisterBenchmark("freeze/shared-memory", freezeDisplays, true)->Unit(benchmark::kMillisecond)->MinTime(2);
    benchmark::RegisterBenchmark("freeze/get-image", freezeDisplays, false)->Unit(benchmark::kMillisecond)->MinTime(2);
    benchmark::RegisterBenchmark("reference/QScreen::grabWindow", qtGrabWindow)->Unit(benchmark::kMillisecond)->MinTime(2);
    benchmark::RegisterBenchmark("reference/memcpy", memcpyOfTheScreen, bytes)->Unit(benchmark::kMillisecond)->MinTime(2);
    if (server)
        benchmark::RegisterBenchmark("launch/--capture=area-to-overlay", launchToOverlay, server.get())
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime()
            ->Iterations(5);

    bench::GoalReporter& reporter = bench::runBenchmarks(argc, argv);
    const double freeze = reporter.seconds("freeze/shared-memory/min_time:2.000");
    const double qt = reporter.seconds("reference/QScreen::grabWindow/min_time:2.000");
    const double copy = reporter.seconds("reference/memcpy/min_time:2.000");
    if (freeze > 0 && qt > 0)
        bench::printGoal("freeze-vs-qt", qt / freeze, bench::Op::atLeast, 10, "x");
    if (freeze > 0 && copy > 0)
        bench::printGoal("freeze-vs-memcpy", freeze / copy, bench::Op::atMost, 3, "x");
    if (const double launch = reporter.seconds("launch/--capture=area-to-overlay/iterations:5/manual_time"); launch > 0)
        std::printf("INFO capture-launch-to-overlay %.0f ms (mean of 5 launches)\n", launch * 1000);
    return 0;
}
