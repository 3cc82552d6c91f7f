#include "WaylandStack.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <functional>

namespace lumivex::test {

namespace {

using Clock = std::chrono::steady_clock;

// "export NAME='value'" lines of the stack's env file.
QStringList readEnvironment(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList result;
    static const QRegularExpression line(QStringLiteral("^export ([A-Z_]+)='?([^']*)'?$"));
    for (const QByteArray& bytes : file.readAll().split('\n')) {
        const QRegularExpressionMatch match = line.match(QString::fromUtf8(bytes.trimmed()));
        if (match.hasMatch())
            result.append(match.captured(1) + QLatin1Char('=') + match.captured(2));
    }
    return result;
}

} // namespace

QString WaylandStack::scriptsFolder()
{
    const QString folder = QStringLiteral(LUMIVEX_WAYLAND_STACK_DIR);
    return QFile::exists(folder + QStringLiteral("/start.sh")) ? folder : QString();
}

WaylandStack::WaylandStack(QList<Output> outputs, bool globalShortcuts)
    : m_outputs(std::move(outputs))
    , m_globalShortcuts(globalShortcuts)
{
    m_running = start();
}

WaylandStack::~WaylandStack()
{
    m_windows.clear();
    if (!m_directory.isValid() || scriptsFolder().isEmpty())
        return;
    ChildProcess::run(QStringLiteral("bash"), {scriptsFolder() + QStringLiteral("/stop.sh")},
                      environmentWith({QStringLiteral("LWS_DIR=") + m_directory.filePath(QStringLiteral("run"))}), 30000);
}

bool WaylandStack::start()
{
    if (scriptsFolder().isEmpty()) {
        m_error = QStringLiteral("no wayland-stack folder beside this checkout");
        return false;
    }
    if (!m_directory.isValid()) {
        m_error = QStringLiteral("no temporary folder");
        return false;
    }
    QStringList outputs;
    for (const Output& output : m_outputs)
        outputs.append(QStringLiteral("%1x%2@%3").arg(output.size.width()).arg(output.size.height()).arg(output.scale));
    const QString runFolder = m_directory.filePath(QStringLiteral("run"));
    const ChildProcess::Result started = ChildProcess::run(
        QStringLiteral("bash"), {scriptsFolder() + QStringLiteral("/start.sh")},
        environmentWith({QStringLiteral("LWS_DIR=") + runFolder, QStringLiteral("LWS_OUTPUTS=") + outputs.join(' '),
                         QStringLiteral("LWS_GLOBALSHORTCUTS=%1").arg(m_globalShortcuts ? 1 : 0)}),
        60000);
    m_environment = readEnvironment(runFolder + QStringLiteral("/env"));
    if (!started.ok() || m_environment.isEmpty()) {
        m_error = QStringLiteral("start.sh failed: ") + QString::fromLocal8Bit(started.errors);
        return false;
    }
    return true;
}

QStringList WaylandStack::environmentList(const QStringList& changes) const
{
    // The caller's changes win over the stack's own variables.
    QStringList stack;
    for (const QString& entry : m_environment) {
        const QString name = entry.section(QLatin1Char('='), 0, 0);
        if (std::none_of(changes.begin(), changes.end(),
                         [&](const QString& change) { return change.section(QLatin1Char('='), 0, 0) == name; }))
            stack.append(entry);
    }
    return environmentWith(stack + QStringList{QStringLiteral("DISPLAY"), QStringLiteral("LUMIVEX_PLATFORM")} + changes);
}

QString WaylandStack::value(const QString& name) const
{
    for (const QString& entry : m_environment)
        if (entry.startsWith(name + QLatin1Char('=')))
            return entry.mid(name.size() + 1);
    return {};
}

ChildProcess::Result WaylandStack::run(const QString& program, const QStringList& arguments, int timeoutMs) const
{
    return ChildProcess::run(program, arguments, environmentList(), timeoutMs);
}

QRect WaylandStack::outputGeometry(int index) const
{
    int x = 0;
    for (int i = 0; i < m_outputs.size(); ++i) {
        const Output& output = m_outputs.at(i);
        const QSize points = output.size / output.scale;
        if (i == index)
            return QRect(QPoint(x, 0), points);
        x += points.width();
    }
    return {};
}

QSize WaylandStack::layoutSize() const
{
    QRect layout;
    for (int i = 0; i < m_outputs.size(); ++i)
        layout = layout.united(outputGeometry(i));
    return layout.size();
}

bool WaylandStack::showStripes(int output, const QList<QColor>& colors)
{
    if (!run(QStringLiteral("swaymsg"), {QStringLiteral("focus"), QStringLiteral("output"), outputName(output)}).ok())
        return false;
    QStringList names;
    for (const QColor& color : colors)
        names.append(color.name().mid(1));
    auto window = std::make_unique<ChildProcess>();
    if (!window->start({QStringLiteral(LUMIVEX_WAYLAND_TEST_WINDOW_EXECUTABLE), {names.join(',')}, environmentList(), -1, -1, -1}))
        return false;
    m_windows.push_back(std::move(window));
    return waitForStripes(output, colors);
}

bool WaylandStack::waitForStripes(int output, const QList<QColor>& colors) const
{
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    while (Clock::now() < deadline) {
        const QImage image = grabOutput(output);
        bool shown = !image.isNull();
        for (qsizetype i = 0; shown && i < colors.size(); ++i) {
            const int x = int((2 * i + 1) * image.width() / (2 * colors.size()));
            shown = image.pixelColor(x, image.height() / 2).rgb() == colors.at(i).rgb()
                && image.pixelColor(x, image.height() - 1).rgb() == colors.at(i).rgb();
        }
        if (shown)
            return true;
        QThread::msleep(50);
    }
    return false;
}

QImage WaylandStack::grabOutput(int output) const
{
    const QString file = m_directory.filePath(QStringLiteral("grab.png"));
    if (!run(QStringLiteral("grim"), {QStringLiteral("-o"), outputName(output), file}).ok())
        return {};
    QImage image(file);
    QFile::remove(file);
    return image.convertToFormat(QImage::Format_RGB32);
}

QStringList WaylandStack::pointerAt(QPoint at) const
{
    const QSize layout = layoutSize();
    return {QStringLiteral("abs"), QString::number(at.x()), QString::number(at.y()), QString::number(layout.width()),
            QString::number(layout.height())};
}

ChildProcess::Result WaylandStack::pointer(const QStringList& steps) const
{
    return run(QStringLiteral(LUMIVEX_VPTR_EXECUTABLE), steps, 30000);
}

std::unique_ptr<ChildProcess> WaylandStack::holdPointer(QPoint at) const
{
    auto process = std::make_unique<ChildProcess>();
    process->start({QStringLiteral(LUMIVEX_VPTR_EXECUTABLE), pointerAt(at) + QStringList{"sleep", "120000"},
                    environmentList(), -1, -1, -1});
    // The seat has a pointer only while a pointer device exists.
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (Clock::now() < deadline
           && !run(QStringLiteral("swaymsg"), {QStringLiteral("-t"), QStringLiteral("get_seats")})
                   .output.contains("\"capabilities\": 1"))
        QThread::msleep(20);
    return process;
}

QStringList WaylandStack::fullScreenOutputsOf(qint64 pid) const
{
    const ChildProcess::Result tree = run(QStringLiteral("swaymsg"), {QStringLiteral("-r"), QStringLiteral("-t"), QStringLiteral("get_tree")});
    QStringList outputs;
    const std::function<void(const QJsonObject&, const QString&)> visit = [&](const QJsonObject& node, QString output) {
        if (node.value(QLatin1String("type")).toString() == QLatin1String("output"))
            output = node.value(QLatin1String("name")).toString();
        if (node.value(QLatin1String("pid")).toInteger() == pid && node.value(QLatin1String("fullscreen_mode")).toInt() == 1
            && node.value(QLatin1String("visible")).toBool())
            outputs.append(output);
        for (const char* children : {"nodes", "floating_nodes"})
            for (const QJsonValue& child : node.value(QLatin1String(children)).toArray())
                visit(child.toObject(), output);
    };
    visit(QJsonDocument::fromJson(tree.output).object(), QString());
    return outputs;
}

} // namespace lumivex::test
