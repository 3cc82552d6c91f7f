// `lumivex --capture=fullscreen --output=F` beside the screenshot tools people compare it with, run the way a
// desktop keybinding runs them: Spectacle (`spectacle -b -n -f -o F`), Flameshot (`flameshot full -p F`), ksnip
// (`ksnip -f -s -p F`) and ImageMagick (`import -window root F`), each from process start to the file written.
//
// Each screen size gets its own Xvfb with openbox and a screenshot-like picture on the root window, and a
// private D-Bus session bus for the peers. The tools run in interleaved rounds (every round runs each of them
// once, in a rotating order), so that the load of the machine weighs on all of them alike; the goals use the
// median of the per-round ratios. Tools that are not installed are left out and said so; installing them is up
// to whoever runs the comparison (they are no dependency of Lumivex):
//     apt-get install kde-spectacle flameshot ksnip imagemagick
//
//   lumivex_bench_capture_peers [ROUNDS]    (default 8)

#include "BenchGoals.h"

#include "samples/TestImages.h"
#include "support/XServer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <map>
#include <optional>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

using namespace lumivex;

namespace {

using Clock = std::chrono::steady_clock;

struct Tool {
    QString name;
    QString program;
    std::function<QStringList(const QString& file)> arguments;
};

struct Sample {
    double seconds = 0;
    qint64 bytes = 0;
};

std::vector<Tool> allTools()
{
    return {
        {"lumivex", QStringLiteral(LUMIVEX_EXECUTABLE),
         [](const QString& f) { return QStringList{"--capture=fullscreen", "--output=" + f}; }},
        {"Spectacle", "spectacle", [](const QString& f) { return QStringList{"-b", "-n", "-f", "-o", f}; }},
        {"Flameshot", "flameshot", [](const QString& f) { return QStringList{"full", "-p", f}; }},
        {"ksnip", "ksnip", [](const QString& f) { return QStringList{"-f", "-s", "-p", f}; }},
        {"import", "import", [](const QString& f) { return QStringList{"-window", "root", f}; }},
    };
}

// Runs a program in a process group of its own to its end, blocking (no polling interval in the measurement);
// whatever it left running in its group is ended afterwards. The exit code, or nothing when it could not start
// or did not end within the time.
std::optional<int> runToEnd(const QString& program, const QStringList& arguments, const QStringList& environment,
                            double& seconds)
{
    std::vector<QByteArray> storage;
    std::vector<char*> argv, envp;
    storage.push_back(QFile::encodeName(program));
    for (const QString& a : arguments)
        storage.push_back(a.toLocal8Bit());
    const std::size_t argc = storage.size();
    for (const QString& e : environment)
        storage.push_back(e.toLocal8Bit());
    for (std::size_t i = 0; i < storage.size(); ++i)
        (i < argc ? argv : envp).push_back(storage[i].data());
    argv.push_back(nullptr);
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    const auto started = Clock::now();
    pid_t pid = -1;
    const int error = posix_spawnp(&pid, argv[0], &actions, &attributes, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (error != 0)
        return std::nullopt;
    int status = 0;
    const pid_t ended = ::waitpid(pid, &status, 0);
    seconds = std::chrono::duration<double>(Clock::now() - started).count();
    ::kill(-pid, SIGKILL);
    if (ended != pid || !WIFEXITED(status))
        return std::nullopt;
    return WEXITSTATUS(status);
}

// Shows the picture on the root window, as a desktop background the grab sees and the window manager leaves.
bool showOnRoot(const QString& display, const QImage& picture)
{
    xcb_connection_t* c = xcb_connect(display.toLatin1().constData(), nullptr);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return false;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    const xcb_pixmap_t pixmap = xcb_generate_id(c);
    xcb_create_pixmap(c, screen->root_depth, pixmap, screen->root, uint16_t(image.width()), uint16_t(image.height()));
    const xcb_gcontext_t gc = xcb_generate_id(c);
    xcb_create_gc(c, gc, pixmap, 0, nullptr);
    const std::size_t maxBytes = std::size_t(xcb_get_maximum_request_length(c)) * 4 - 64;
    const int rowsPerRequest = std::max(1, int(maxBytes / std::size_t(image.bytesPerLine())));
    for (int y = 0; y < image.height(); y += rowsPerRequest) {
        const int rows = std::min(rowsPerRequest, image.height() - y);
        xcb_put_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, gc, uint16_t(image.width()), uint16_t(rows), 0, int16_t(y),
                      0, screen->root_depth, uint32_t(image.bytesPerLine() * rows), image.constScanLine(y));
    }
    xcb_change_window_attributes(c, screen->root, XCB_CW_BACK_PIXMAP, &pixmap);
    xcb_clear_area(c, 0, screen->root, 0, 0, 0, 0);
    xcb_free_gc(c, gc);
    xcb_free_pixmap(c, pixmap);
    xcb_get_input_focus_reply_t* sync = xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr);
    const bool ok = sync && !xcb_connection_has_error(c);
    std::free(sync);
    xcb_disconnect(c);
    return ok;
}

// A session bus of our own for the peers (Spectacle and Flameshot talk D-Bus); its address, and its pid to end.
std::optional<std::pair<QString, pid_t>> startSessionBus()
{
    const test::ChildProcess::Result result = test::ChildProcess::run(
        QStringLiteral("dbus-daemon"), {"--session", "--fork", "--print-address=1", "--print-pid=1"}, {}, 10000);
    const QList<QByteArray> lines = result.output.trimmed().split('\n');
    if (!result.ok() || lines.size() < 2)
        return std::nullopt;
    return std::pair{QString::fromLatin1(lines[0].trimmed()), pid_t(lines[1].trimmed().toInt())};
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double mean(const std::vector<Sample>& samples)
{
    double sum = 0;
    for (const Sample& s : samples)
        sum += s.seconds;
    return samples.empty() ? 0 : sum / double(samples.size());
}

struct ScreenResult {
    std::map<QString, std::vector<Sample>> samples; // by tool
    // Per round, each tool's time over lumivex's in the same round.
    std::map<QString, std::vector<double>> ratios;
};

std::optional<ScreenResult> compare(QSize size, const std::vector<Tool>& tools, int rounds)
{
    test::XServer server(test::XServer::Options{size.width(), size.height(), true, true});
    if (!server.isRunning()) {
        std::fprintf(stderr, "cannot start Xvfb: %s\n", qPrintable(server.errorString()));
        return std::nullopt;
    }
    if (!showOnRoot(server.display(), test::screenshotLikeImage(size.width(), size.height()))) {
        std::fprintf(stderr, "cannot put the picture on the root window\n");
        return std::nullopt;
    }
    QTemporaryDir home, runtime, output;
    QFile::setPermissions(runtime.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const auto bus = startSessionBus();
    if (!bus)
        std::printf("INFO no private D-Bus session bus (dbus-daemon): the peers run without one\n");
    const QStringList environment = server.environmentList(
        {"HOME=" + home.path(), "XDG_CONFIG_HOME=" + home.filePath(".config"), "XDG_RUNTIME_DIR=" + runtime.path(),
         bus ? "DBUS_SESSION_BUS_ADDRESS=" + bus->first : QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
         "LUMIVEX_PLATFORM"});

    ScreenResult result;
    const auto runOnce = [&](const Tool& tool) -> std::optional<Sample> {
        const QString file = output.filePath(tool.name + ".png");
        QFile::remove(file);
        Sample sample;
        const std::optional<int> exitCode = runToEnd(tool.program, tool.arguments(file), environment, sample.seconds);
        sample.bytes = QFileInfo(file).size();
        if (exitCode != 0 || QImageReader(file).size() != size) {
            std::printf("INFO %s failed at %dx%d (exit %d, %lld bytes): left out\n", qPrintable(tool.name),
                        size.width(), size.height(), exitCode.value_or(-1), sample.bytes);
            return std::nullopt;
        }
        return sample;
    };
    std::vector<Tool> working;
    for (const Tool& tool : tools) // the first run of each writes its caches and configuration: not measured
        if (runOnce(tool))
            working.push_back(tool);
    for (int round = 0; round < rounds; ++round) {
        std::map<QString, double> seconds;
        for (std::size_t i = 0; i < working.size(); ++i) {
            const Tool& tool = working[(i + std::size_t(round)) % working.size()];
            if (const std::optional<Sample> sample = runOnce(tool)) {
                result.samples[tool.name].push_back(*sample);
                seconds[tool.name] = sample->seconds;
            }
        }
        if (seconds.count("lumivex"))
            for (const auto& [name, s] : seconds)
                result.ratios[name].push_back(s / seconds["lumivex"]);
    }
    if (bus)
        ::kill(bus->second, SIGTERM);
    return result;
}

void printTable(QSize size, const ScreenResult& result)
{
    std::printf("\n%d x %d (mean of the interleaved rounds; ratio = median of the per-round ratios to lumivex)\n",
                size.width(), size.height());
    std::printf("%-10s %10s %10s %12s %16s\n", "tool", "mean ms", "median ms", "file MB", "x lumivex time");
    for (const auto& [name, samples] : result.samples) {
        std::vector<double> seconds;
        for (const Sample& s : samples)
            seconds.push_back(s.seconds);
        const auto ratios = result.ratios.find(name);
        std::printf("%-10s %10.0f %10.0f %12.2f %16.2f\n", qPrintable(name), mean(samples) * 1000,
                    median(seconds) * 1000, samples.back().bytes / 1e6,
                    ratios == result.ratios.end() ? 0.0 : median(ratios->second));
    }
}

double medianRatio(const ScreenResult& result, const QString& tool)
{
    const auto it = result.ratios.find(tool);
    return it == result.ratios.end() ? 0 : median(it->second);
}

} // namespace

int main(int argc, char** argv)
{
    // The picture draws text, which needs the Gui application; it is drawn offscreen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 8;

    std::vector<Tool> tools;
    for (const Tool& tool : allTools()) {
        if (QStandardPaths::findExecutable(tool.program).isEmpty() && !QFileInfo(tool.program).isExecutable())
            std::printf("INFO %s is not installed (%s): left out of the comparison\n", qPrintable(tool.name),
                        qPrintable(tool.program));
        else
            tools.push_back(tool);
    }

    const QSize fiveK(5120, 2880), fullHd(1920, 1080);
    const std::optional<ScreenResult> large = compare(fiveK, tools, rounds);
    const std::optional<ScreenResult> small = compare(fullHd, tools, rounds);
    if (large)
        printTable(fiveK, *large);
    if (small)
        printTable(fullHd, *small);
    std::printf("\n");

    if (large && large->samples.count("Spectacle") && large->samples.count("lumivex")) {
        bench::printGoal("capture-file-5k", medianRatio(*large, "Spectacle"), bench::Op::atLeast, 4, "x");
        const double size = double(large->samples.at("lumivex").back().bytes)
            / double(large->samples.at("Spectacle").back().bytes);
        std::printf("INFO lumivex's file is %.4f of Spectacle's (%lld and %lld bytes)\n", size,
                    large->samples.at("lumivex").back().bytes, large->samples.at("Spectacle").back().bytes);
        bench::printGoal("capture-file-size", size, bench::Op::atMost, 1.0, "x");
    } else {
        std::printf("INFO capture-file-5k and capture-file-size not measured: they compare with Spectacle\n");
    }
    double fastestPeer = 0;
    QString fastestName;
    if (small) {
        for (const auto& [name, ratios] : small->ratios) {
            if (name != "lumivex" && (fastestName.isEmpty() || median(ratios) < fastestPeer)) {
                fastestPeer = median(ratios);
                fastestName = name;
            }
        }
    }
    if (!fastestName.isEmpty()) {
        std::printf("INFO the fastest peer at 1920 x 1080 is %s\n", qPrintable(fastestName));
        bench::printGoal("capture-file-1080p", fastestPeer, bench::Op::atLeast, 2, "x");
    } else {
        std::printf("INFO capture-file-1080p not measured: no peer is installed\n");
    }
    return 0;
}
