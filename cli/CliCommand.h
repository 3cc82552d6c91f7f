#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace lumivex::Cli {

// Exit codes of lumivex-cli, the same for every subcommand.
enum ExitCode : int {
    success = 0,
    failed = 1,   // the work could not be done: unreadable input, a failed write, a failed analysis
    usage = 2,    // the command line itself is wrong
};

// A subcommand: its name, a one-line synopsis for the usage text, and the function that runs it with the
// arguments after its name. Text results go to stdout, messages to stderr.
struct Command {
    QString name;
    QString synopsis;
    std::function<int(const QStringList& arguments)> run;
};

// Subcommands add themselves from their own source file with a static Registration, so the dispatcher
// never has to know them.
std::vector<Command>& commands();

struct Registration {
    explicit Registration(Command command) { commands().push_back(std::move(command)); }
};

// Prints "lumivex-cli: <message>" on stderr and returns the given exit code, for one-line error returns.
int fail(int code, const QString& message);

} // namespace lumivex::Cli
