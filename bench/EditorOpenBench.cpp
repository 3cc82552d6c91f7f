// From launching `lumivex IMAGE` on a 5120 x 2880 PNG to the first frame of the editor on the screen, beside the
// same for a bare Qt window that shows that picture (lumivex_bench_bare_window), in the same run on a private
// Xvfb with openbox. The picture is a screenshot-like image with a flat block in its middle; a frame counts as
// painted once the middle of the screen shows that block's colour.
#include "BenchGoals.h"

#include "samples/TestImages.h"
#include "support/XServer.h"

#include <QGuiApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <memory>

using namespace lumivex;

namespace {

const QColor kMarker(23, 187, 121);

struct Setup {
    test::XServer* server = nullptr;
    QString picture;
    QString configHome;
};

bool markerShown(const test::XServer& server)
{
    const QRect screen(0, 0, 1920, 1080);
    const QImage probe = server.grab(QRect(screen.center(), QSize(1, 1)));
    if (probe.isNull())
        return false;
    const QColor seen(probe.pixel(0, 0));
    return std::abs(seen.red() - kMarker.red()) <= 3 && std::abs(seen.green() - kMarker.green()) <= 3
        && std::abs(seen.blue() - kMarker.blue()) <= 3;
}

// One launch of `program IMAGE` until the marker shows; the time it took, or a negative number on failure.
void launchToFrame(benchmark::State& state, const Setup* setup, const QString& program)
{
    const QStringList environment = setup->server->environmentList(
        {QStringLiteral("XDG_CONFIG_HOME=") + setup->configHome, QStringLiteral("XDG_DATA_HOME=") + setup->configHome});
    for (auto _ : state) {
        test::ChildProcess process;
        QElapsedTimer clock;
        clock.start();
        if (!process.start({program, {setup->picture}, environment, -1, -1, -1})) {
            state.SkipWithError("cannot start the program");
            return;
        }
        while (!markerShown(*setup->server) && clock.elapsed() < 30000)
            QThread::usleep(300);
        state.SetIterationTime(clock.nsecsElapsed() / 1e9);
        if (clock.elapsed() >= 30000) {
            state.SkipWithError("no frame within 30 s");
            return;
        }
        process.stop();
        process.waitForExit(10000);
        setup->server->waitUntil([&] { return !markerShown(*setup->server); }, 10000);
    }
}

QImage benchPicture()
{
    QImage picture = test::screenshotLikeImage(5120, 2880).convertToFormat(QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.fillRect(QRect(1560, 840, 2000, 1200), kMarker);
    return picture;
}

} // namespace

int main(int argc, char** argv)
{
    // The picture is drawn here with fonts; the programs measured get the X server.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    test::XServer server(test::XServer::Options{1920, 1080, true, true});
    if (!server.isRunning()) {
        std::fprintf(stderr, "cannot start Xvfb: %s\n", qPrintable(server.errorString()));
        return 1;
    }
    QTemporaryDir folder;
    Setup setup{&server, folder.filePath(QStringLiteral("5k.png")), folder.filePath(QStringLiteral("home"))};
    if (!benchPicture().save(setup.picture, "PNG")) {
        std::fprintf(stderr, "cannot write the picture\n");
        return 1;
    }
    const QString lumivex = QStringLiteral(LUMIVEX_EXECUTABLE);
    const QString bare = QStringLiteral(LUMIVEX_BARE_WINDOW_EXECUTABLE);
    // Interleaved rounds, so that a slow spell of the machine weighs on both alike.
    for (int round = 0; round < 2; ++round) {
        benchmark::RegisterBenchmark(("open/bare-qt-window/" + std::to_string(round)).c_str(), launchToFrame, &setup, bare)
            ->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(4);
        benchmark::RegisterBenchmark(("open/lumivex/" + std::to_string(round)).c_str(), launchToFrame, &setup, lumivex)
            ->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(4);
    }
    bench::GoalReporter& reporter = bench::runBenchmarks(argc, argv);
    double ours = 0, reference = 0;
    for (int round = 0; round < 2; ++round) {
        ours += reporter.seconds("open/lumivex/" + std::to_string(round) + "/iterations:4/manual_time");
        reference += reporter.seconds("open/bare-qt-window/" + std::to_string(round) + "/iterations:4/manual_time");
    }
    if (ours > 0 && reference > 0) {
        std::printf("reference: a bare Qt window showing the picture %.0f ms; lumivex %.0f ms\n", reference / 2 * 1000,
                    ours / 2 * 1000);
        bench::printGoal("editor-open", ours / reference, bench::Op::atMost, 2, "x");
    }
    return 0;
}
