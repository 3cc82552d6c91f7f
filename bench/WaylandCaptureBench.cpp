// Freezing the displays on Wayland: from the request to the shots being ready (the portal's picture read,
// deleted and cut into one shot per output) beside one bare Screenshot portal call of the same layout (request to
// answer), in the same run, on the private headless sway of ../shared/wayland-stack with 1920 × 1080 at scale 1
// and 1280 × 720 at scale 2 (a 5120 × 2160 picture).

#include "BenchGoals.h"

#include "app/platform/PortalCaptureBackend.h"
#include "app/platform/PortalRequest.h"
#include "support/WaylandStack.h"

#include <QDBusConnection>
#include <QEventLoop>
#include <QFile>
#include <QFutureWatcher>
#include <QGuiApplication>
#include <QThread>
#include <QTimer>

#include <chrono>
#include <cstdio>

using namespace lumivex;

namespace {

using Clock = std::chrono::steady_clock;

// Sleeps in the event loop until the future is done, as the application does: a loop that polls would take a
// whole core from the portal, the compositor and our decoding thread on a small machine.
template <typename T>
bool awaitFuture(QFuture<T>& future)
{
    QEventLoop loop;
    QFutureWatcher<T> watcher;
    QObject::connect(&watcher, &QFutureWatcher<T>::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(std::chrono::seconds(30), &loop, &QEventLoop::quit);
    watcher.setFuture(future);
    if (!future.isFinished())
        loop.exec();
    return future.isFinished();
}

void barePortalCall(benchmark::State& state, QDBusConnection bus)
{
    for (auto _ : state) {
        const auto started = Clock::now();
        QFuture<PortalRequest::Answer> answer = PortalRequest::send(
            bus, {QStringLiteral("org.freedesktop.portal.Screenshot"), QStringLiteral("Screenshot"), {QString()},
                  {{QStringLiteral("interactive"), false}}});
        if (!awaitFuture(answer) || answer.result().response != 0) {
            state.SkipWithError("the portal gave no picture");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - started).count());
        QFile::remove(QUrl(answer.result().results.value(QStringLiteral("uri")).toString()).toLocalFile());
    }
}

void requestToShots(benchmark::State& state, PortalCaptureBackend* backend)
{
    for (auto _ : state) {
        const auto started = Clock::now();
        QFuture<DisplayCapture> shots = backend->captureDisplays();
        if (!awaitFuture(shots) || !std::holds_alternative<QList<DisplayShot>>(shots.result())) {
            state.SkipWithError("no shots");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - started).count());
    }
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    test::WaylandStack stack;
    if (!stack.isRunning() || !stack.showStripes(0, {QColor(235, 235, 240), QColor(60, 90, 200)})
        || !stack.showStripes(1, {QColor(230, 120, 40), QColor(20, 20, 20)})) {
        std::fprintf(stderr, "cannot start the Wayland desktop: %s\n", qPrintable(stack.errorString()));
        return 1;
    }
    const QDBusConnection bus
        = QDBusConnection::connectToBus(stack.value(QStringLiteral("DBUS_SESSION_BUS_ADDRESS")), QStringLiteral("bench"));
    QList<OutputGeometry> outputs;
    for (int i = 0; i < 2; ++i)
        outputs.append({nullptr, stack.outputName(i), stack.outputGeometry(i), double(i + 1)});
    PortalCaptureBackend::Options options;
    options.bus = bus;
    options.outputs = [outputs] { return outputs; };
    PortalCaptureBackend backend(options);

    // Alternating, so that both see the same load on a shared machine.
    for (int round = 0; round < 2; ++round) {
        benchmark::RegisterBenchmark(("reference/bare-portal-call/" + std::to_string(round)).c_str(), barePortalCall, bus)
            ->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(6);
        benchmark::RegisterBenchmark(("freeze/request-to-shots/" + std::to_string(round)).c_str(), requestToShots, &backend)
            ->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(6);
    }
    bench::GoalReporter& reporter = bench::runBenchmarks(argc, argv);
    double bare = 0, ours = 0;
    bool complete = true;
    for (int round = 0; round < 2; ++round) {
        const double b = reporter.seconds("reference/bare-portal-call/" + std::to_string(round) + "/iterations:6/manual_time");
        const double o = reporter.seconds("freeze/request-to-shots/" + std::to_string(round) + "/iterations:6/manual_time");
        complete = complete && b > 0 && o > 0;
        bare += b;
        ours += o;
    }
    // A round that failed would compare unequal amounts of work.
    if (complete)
        bench::printGoal("wayland-freeze-overhead", ours / bare, bench::Op::atMost, 1.3, "x");
    return 0;
}
