#include "cli/CliCommand.h"

#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

using namespace lumivex;

namespace lumivex::Cli {

std::vector<Command>& commands()
{
    static std::vector<Command> registered;
    return registered;
}

int fail(int code, const QString& message)
{
    std::fprintf(stderr, "lumivex-cli: %s\n", qPrintable(message));
    return code;
}

} // namespace lumivex::Cli

namespace {

void printUsage(std::FILE* stream)
{
    std::vector<Cli::Command> sorted = Cli::commands();
    std::sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    std::fprintf(stream, "Usage: lumivex-cli COMMAND [ARGUMENTS]\n\nCommands:\n");
    for (const Cli::Command& command : sorted)
        std::fprintf(stream, "  %s\n", qPrintable(command.synopsis));
    std::fprintf(stream, "\nExit status: 0 on success, 1 when the work failed, 2 for a wrong command line.\n");
}

} // namespace

int main(int argc, char** argv)
{
    // Fonts and image plugins need the Gui application object, never a display: this command runs on servers.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.isEmpty() || arguments.first() == QLatin1String("--help") || arguments.first() == QLatin1String("-h")) {
        printUsage(arguments.isEmpty() ? stderr : stdout);
        return arguments.isEmpty() ? Cli::usage : Cli::success;
    }
    const QString name = arguments.takeFirst();
    for (const Cli::Command& command : Cli::commands()) {
        if (command.name == name)
            return command.run(arguments);
    }
    Cli::fail(Cli::usage, QStringLiteral("unknown command \"%1\"").arg(name));
    printUsage(stderr);
    return Cli::usage;
}
