#include "app/shell/Relaunch.h"

#include <QCoreApplication>
#include <QProcess>

namespace lumivex::Relaunch {

QStringList helperArguments(qint64 pid, const QString& program)
{
    // The program and pid are arguments of the script, never part of its text, so no path can inject commands.
    return {QStringLiteral("-c"),
            QStringLiteral("while kill -0 \"$1\" 2>/dev/null; do sleep 0.1; done; exec \"$2\""),
            QStringLiteral("relaunch"), QString::number(pid), program};
}

bool startHelper()
{
    return QProcess::startDetached(QStringLiteral("/bin/sh"),
                                   helperArguments(QCoreApplication::applicationPid(),
                                                   QCoreApplication::applicationFilePath()));
}

} // namespace lumivex::Relaunch
