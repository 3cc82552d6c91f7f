// The capture shortcut of a resident Lumivex beside a cold start: from the key press (xdotool) to the dimmed
// frozen screen on the server, against `lumivex --capture=area` from process start to the same moment, in the same
// run on the same private Xvfb with openbox.
//
// The key press happens inside xdotool, after its own start-up; that start-up is measured in the same run (xdotool
// pressing a key nobody holds) and taken off the resident time, so the resident figure runs from the key press.
//
// GOAL resident-capture: (resident - xdotool) / cold <= 0.25.

#include "BenchGoals.h"
#include "RootPixel.h"

#include "app/platform/X11Connection.h"
#include "support/XServer.h"

#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

using namespace lumivex;

namespace {

using Clock = std::chrono::steady_clock;

struct Setup {
    test::XServer* server = nullptr;
    std::shared_ptr<X11Connection> connection;
    QStringList environment;
};

using bench::rootPixel;

// Waits until the probe pixel differs from (or, with `equal`, returns to) `reference`; false at the deadline.
bool waitForPixel(X11Connection& x, uint32_t reference, bool equal)
{
    const auto deadline = Clock::now() + std::chrono::seconds(30);
    while ((rootPixel(x, 20, 20) == reference) != equal) {
        if (Clock::now() > deadline)
            return false;
        QThread::usleep(300);
    }
    return true;
}

bool waitForPixelWithin(X11Connection& x, uint32_t reference, int milliseconds)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
    while (rootPixel(x, 20, 20) == reference) {
        if (Clock::now() > deadline)
            return false;
        QThread::usleep(300);
    }
    return true;
}

void coldLaunch(benchmark::State& state, const Setup* setup)
{
    const uint32_t before = rootPixel(*setup->connection, 20, 20);
    for (auto _ : state) {
        test::ChildProcess lumivex;
        const auto started = Clock::now();
        if (!lumivex.start({QStringLiteral(LUMIVEX_EXECUTABLE), {QStringLiteral("--capture=area")}, setup->environment})) {
            state.SkipWithError("cannot start lumivex");
            return;
        }
        if (!waitForPixel(*setup->connection, before, false)) {
            state.SkipWithError("no overlay");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - started).count());
        setup->server->xdotool({QStringLiteral("key"), QStringLiteral("Escape")});
        waitForPixel(*setup->connection, before, true);
        lumivex.stop(); // it stays resident after the capture
    }
}

void residentShortcut(benchmark::State& state, const Setup* setup)
{
    test::ChildProcess lumivex;
    if (!lumivex.start({QStringLiteral(LUMIVEX_EXECUTABLE), {QStringLiteral("--login-item")}, setup->environment})) {
        state.SkipWithError("cannot start lumivex");
        return;
    }
    const uint32_t before = rootPixel(*setup->connection, 20, 20);
    // Ready once the shortcut is grabbed: press until an overlay answers, then close it.
    bool ready = false;
    for (int attempt = 0; attempt < 60 && !ready; ++attempt) {
        setup->server->xdotool({QStringLiteral("key"), QStringLiteral("ctrl+shift+e")});
        ready = waitForPixelWithin(*setup->connection, before, 500);
    }
    if (!ready) {
        state.SkipWithError("the resident application never answered its shortcut");
        return;
    }
    setup->server->xdotool({QStringLiteral("key"), QStringLiteral("Escape")});
    waitForPixel(*setup->connection, before, true);
    for (auto _ : state) {
        const auto pressed = Clock::now();
        setup->server->xdotool({QStringLiteral("key"), QStringLiteral("ctrl+shift+e")});
        if (!waitForPixel(*setup->connection, before, false)) {
            state.SkipWithError("no overlay");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - pressed).count());
        setup->server->xdotool({QStringLiteral("key"), QStringLiteral("Escape")});
        waitForPixel(*setup->connection, before, true);
    }
    lumivex.stop();
}

// The reference for the moment of the key press: xdotool's whole run for a key that nothing is bound to.
void xdotoolAlone(benchmark::State& state, const Setup* setup)
{
    for (auto _ : state) {
        const auto started = Clock::now();
        setup->server->xdotool({QStringLiteral("key"), QStringLiteral("F24")});
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - started).count());
    }
}

} // namespace

int main(int argc, char** argv)
{
    test::XServer server(test::XServer::Options{1920, 1080, true, true});
    if (!server.isRunning()) {
        std::fprintf(stderr, "cannot start Xvfb: %s\n", qPrintable(server.errorString()));
        return 1;
    }
    for (const auto& [geometry, color] : std::vector<std::pair<QRect, QColor>>{
             {{0, 0, 900, 700}, QColor(235, 235, 240)}, {{500, 300, 1200, 700}, QColor(60, 90, 200)}}) {
        test::TestWindowOptions options;
        options.geometry = geometry;
        options.color = color;
        server.createWindow(options);
    }
    QTemporaryDir home;
    Setup setup{&server, X11Connection::open(server.display().toLatin1()),
                server.environmentList({QStringLiteral("LUMIVEX_PLATFORM"), "XDG_CONFIG_HOME=" + home.path(),
                                        "XDG_RUNTIME_DIR=" + home.path()})};
    if (!setup.connection) {
        std::fprintf(stderr, "cannot connect to %s\n", qPrintable(server.display()));
        return 1;
    }
    benchmark::RegisterBenchmark("cold/--capture=area-to-overlay", coldLaunch, &setup)
        ->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);
    benchmark::RegisterBenchmark("resident/shortcut-to-overlay", residentShortcut, &setup)
        ->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);
    benchmark::RegisterBenchmark("reference/xdotool-key", xdotoolAlone, &setup)
        ->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

    bench::GoalReporter& reporter = bench::runBenchmarks(argc, argv);
    const double cold = reporter.seconds("cold/--capture=area-to-overlay/iterations:5/manual_time");
    const double resident = reporter.seconds("resident/shortcut-to-overlay/iterations:10/manual_time");
    const double xdotool = reporter.seconds("reference/xdotool-key/iterations:10/manual_time");
    if (cold > 0 && resident > 0 && xdotool > 0) {
        std::printf("INFO cold launch-to-overlay %.0f ms, resident xdotool-to-overlay %.0f ms, of which xdotool's own "
                    "start %.0f ms (raw ratio %.2fx)\n",
                    cold * 1000, resident * 1000, xdotool * 1000, resident / cold);
        bench::printGoal("resident-capture", std::max(resident - xdotool, 0.0) / cold, bench::Op::atMost, 0.25, "x");
    }
    return 0;
}
