#pragma once

#include <QString>
#include <QStringList>

namespace lumivex {

// Starting a fresh copy of the application once this one has ended (after a change of language).
namespace Relaunch {

// The helper that waits for this process to end and then starts `program`: /bin/sh and its arguments.
QStringList helperArguments(qint64 pid, const QString& program);
// Starts the helper for this process and executable; false when the shell could not be started.
bool startHelper();

} // namespace Relaunch

} // namespace lumivex
