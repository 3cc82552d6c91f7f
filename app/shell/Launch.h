#pragma once

#include <QStringList>

namespace lumivex {

// What the command line asks for. Arguments that begin with "-" are options, everything else is a file.
struct LaunchOptions {
    QStringList files;
    QStringList options;

    static LaunchOptions parse(const QStringList& arguments);
    bool has(const QString& option) const { return options.contains(option); }
};

namespace Launch {

// Whether a display server is reachable for the chosen Qt platform; checked before the application object
// exists so that a missing display gives a clear message instead of Qt's abort.
bool displayAvailable();
QString noDisplayMessage();
// Loads the chosen UI language's translation into the application (Korean needs none).
void installTranslations();

} // namespace Launch

} // namespace lumivex
