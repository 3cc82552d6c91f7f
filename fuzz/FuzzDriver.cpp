// A mutation loop of our own: it starts from the target's seeds (and a corpus folder), mutates inputs, runs the
// target on each under the sanitizers, and keeps every input that reaches code no earlier input reached. Coverage
// comes from GCC's -fsanitize-coverage=trace-pc, which calls __sanitizer_cov_trace_pc in every basic block of the
// instrumented code (the core library and the target). A sanitizer report, a crash or an input running longer
// than the time limit writes that input into the findings folder; the process then ends, and the run script
// starts it again.
//
//   lumivex_fuzz_<target> [--seconds N] [--corpus DIR] [--findings DIR] [--timeout S]   fuzz for N seconds
//   lumivex_fuzz_<target> FILE...                                                     run each file once
#include "FuzzTarget.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <sanitizer/common_interface_defs.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

#include <sys/time.h>
#include <unistd.h>

namespace {

// Plain arrays: the callback below runs in every instrumented block, and anything it calls that is itself
// instrumented (an operator[] of a container) would call it again.
constexpr std::size_t mapSize = 1 << 16;
std::uint8_t hits[mapSize];
std::uint8_t seen[mapSize]; // per slot: the hit-count classes met so far
bool tracing = false;

QByteArray current;
QString findings = QStringLiteral(".");
char findingPath[4096] = {};

} // namespace

extern "C" __attribute__((no_sanitize_coverage)) void __sanitizer_cov_trace_pc()
{
    thread_local std::uintptr_t previous = 0;
    if (!tracing)
        return;
    const auto pc = std::uintptr_t(__builtin_return_address(0));
    std::uint8_t& slot = hits[(pc ^ (previous >> 1)) & (mapSize - 1)];
    slot = std::uint8_t(slot + (slot < 255));
    previous = pc;
}

namespace {

// Hit counts fall into classes (1, 2, 3, 4-7, 8-15, 16-31, 32-127, 128+), so a loop running once more is not news.
std::uint8_t countClass(std::uint8_t count)
{
    if (count == 0)
        return 0;
    if (count < 4)
        return std::uint8_t(1 << (count - 1));
    if (count < 8)
        return 8;
    if (count < 16)
        return 16;
    if (count < 32)
        return 32;
    return count < 128 ? 64 : 128;
}

// Written before each run, so that the death callback and the alarm need no allocation.
void prepareFindingPath(const char* kind)
{
    const QByteArray hash = QCryptographicHash::hash(current, QCryptographicHash::Sha1).toHex().left(16);
    const QByteArray path = QFile::encodeName(findings) + "/" + kind + "-" + hash;
    std::snprintf(findingPath, sizeof findingPath, "%s", path.constData());
}

void saveFinding()
{
    if (FILE* file = std::fopen(findingPath, "wb")) {
        std::fwrite(current.constData(), 1, std::size_t(current.size()), file);
        std::fclose(file);
    }
}

void onTimeout(int)
{
    // The name was prepared for a crash; a hang gets its own prefix.
    char* slash = std::strrchr(findingPath, '/');
    if (slash && std::strncmp(slash + 1, "crash-", 6) == 0)
        std::memcpy(slash + 1, "hang--", 6);
    saveFinding();
    static const char message[] = "lumivex-fuzz: an input ran past the time limit\n";
    (void)!write(2, message, sizeof message - 1);
    _exit(70);
}

bool run(const QByteArray& input, int timeoutSeconds)
{
    current = input;
    prepareFindingPath("crash");
    std::memset(hits, 0, sizeof hits);
    itimerval limit{{0, 0}, {timeoutSeconds, 0}};
    setitimer(ITIMER_REAL, &limit, nullptr);
    tracing = true;
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.constData()), std::size_t(input.size()));
    tracing = false;
    limit = {};
    setitimer(ITIMER_REAL, &limit, nullptr);
    bool news = false;
    for (std::size_t i = 0; i < mapSize; ++i) {
        const std::uint8_t cls = countClass(hits[i]);
        if (cls & ~seen[i]) {
            seen[i] |= cls;
            news = true;
        }
    }
    return news;
}

class Mutator {
public:
    explicit Mutator(std::uint64_t seed) : m_random(seed) {}

    QByteArray mutate(QByteArray input, const std::vector<QByteArray>& corpus)
    {
        const int rounds = 1 << below(4);
        for (int i = 0; i < rounds; ++i)
            mutateOnce(input, corpus);
        if (input.size() > maxSize)
            input.truncate(maxSize);
        return input;
    }

private:
    static constexpr qsizetype maxSize = 1 << 20;

    std::size_t below(std::size_t n) { return n == 0 ? 0 : std::size_t(m_random() % n); }

    void mutateOnce(QByteArray& bytes, const std::vector<QByteArray>& corpus)
    {
        static const std::uint32_t interesting[] = {0,      1,      0x7F,       0x80,       0xFF,      0x100,
                                                    0x7FFF, 0x8000, 0xFFFF,     0x10000,    100000,    0x7FFFFFFF,
                                                    0x80000000, 0xFFFFFFFF, 65500, 32768};
        const std::size_t size = std::size_t(bytes.size());
        switch (below(size == 0 ? 1 : 8)) {
        case 0: { // insert random bytes
            QByteArray inserted(qsizetype(1 + below(16)), '\0');
            for (char& c : inserted)
                c = char(below(256));
            bytes.insert(qsizetype(below(size + 1)), inserted);
            break;
        }
        case 1: // flip a bit
            bytes[qsizetype(below(size))] = char(bytes[qsizetype(below(size))] ^ (1 << below(8)));
            break;
        case 2: // a random byte
            bytes[qsizetype(below(size))] = char(below(256));
            break;
        case 3: { // an interesting value, 1, 2 or 4 bytes, either byte order
            const std::uint32_t value = interesting[below(std::size(interesting))];
            const std::size_t width = std::size_t(1) << below(3);
            const std::size_t at = below(size);
            const bool big = below(2) == 0;
            for (std::size_t i = 0; i < width && at + i < size; ++i) {
                const std::size_t shift = 8 * (big ? width - 1 - i : i);
                bytes[qsizetype(at + i)] = char((value >> shift) & 0xFF);
            }
            break;
        }
        case 4: { // delete a range
            const std::size_t at = below(size);
            bytes.remove(qsizetype(at), qsizetype(1 + below(std::min<std::size_t>(size - at, 64))));
            break;
        }
        case 5: { // duplicate a range
            const std::size_t at = below(size);
            const qsizetype length = qsizetype(1 + below(std::min<std::size_t>(size - at, 256)));
            bytes.insert(qsizetype(below(size)), bytes.mid(qsizetype(at), length));
            break;
        }
        case 6: { // splice with another input
            const QByteArray& other = corpus[below(corpus.size())];
            if (other.isEmpty())
                break;
            const qsizetype cut = qsizetype(below(size));
            bytes = bytes.left(cut) + other.mid(qsizetype(below(std::size_t(other.size()))));
            break;
        }
        default: { // overwrite with bytes from elsewhere in the input
            const std::size_t from = below(size), to = below(size);
            const std::size_t length = 1 + below(std::min<std::size_t>(size - std::max(from, to), 32));
            const QByteArray copy = bytes.mid(qsizetype(from), qsizetype(length));
            bytes.replace(qsizetype(to), copy.size(), copy);
            break;
        }
        }
    }

    std::mt19937_64 m_random;
};

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    double seconds = 60;
    int timeoutSeconds = 10;
    QString corpusFolder;
    QStringList replay;
    while (!arguments.isEmpty()) {
        const QString argument = arguments.takeFirst();
        if (argument == QLatin1String("--seconds") && !arguments.isEmpty())
            seconds = arguments.takeFirst().toDouble();
        else if (argument == QLatin1String("--timeout") && !arguments.isEmpty())
            timeoutSeconds = arguments.takeFirst().toInt();
        else if (argument == QLatin1String("--corpus") && !arguments.isEmpty())
            corpusFolder = arguments.takeFirst();
        else if (argument == QLatin1String("--findings") && !arguments.isEmpty())
            findings = arguments.takeFirst();
        else
            replay << argument;
    }
    QDir().mkpath(findings);
    __sanitizer_set_death_callback(saveFinding);
    std::signal(SIGALRM, onTimeout);

    if (!replay.isEmpty()) {
        for (const QString& path : replay)
            run(readFile(path), timeoutSeconds);
        std::printf("lumivex-fuzz: %lld inputs ran without a finding\n", static_cast<long long>(replay.size()));
        return 0;
    }

    std::vector<QByteArray> corpus = fuzzSeeds();
    if (!corpusFolder.isEmpty()) {
        QDir().mkpath(corpusFolder);
        for (const QString& name : QDir(corpusFolder).entryList(QDir::Files))
            corpus.push_back(readFile(corpusFolder + QLatin1Char('/') + name));
    }
    for (const QByteArray& input : corpus)
        run(input, timeoutSeconds);

    Mutator mutator(std::uint64_t(std::chrono::steady_clock::now().time_since_epoch().count()));
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    long long executions = 0;
    while (std::chrono::steady_clock::now() < end) {
        const QByteArray input = mutator.mutate(corpus[std::size_t(executions) % corpus.size()], corpus);
        ++executions;
        if (!run(input, timeoutSeconds))
            continue;
        corpus.push_back(input);
        if (!corpusFolder.isEmpty()) {
            QFile file(corpusFolder + QLatin1Char('/')
                       + QCryptographicHash::hash(input, QCryptographicHash::Sha1).toHex().left(16));
            if (file.open(QIODevice::WriteOnly))
                file.write(input);
        }
    }
    std::size_t covered = 0;
    for (std::uint8_t s : seen)
        covered += s != 0;
    std::printf("lumivex-fuzz: %lld executions, %zu inputs in the corpus, %zu coverage slots\n", executions,
                corpus.size(), covered);
    return 0;
}
