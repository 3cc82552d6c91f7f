#pragma once

#include <QString>

namespace lumivex {

// Launch at login as the desktop's autostart entry ($XDG_CONFIG_HOME/autostart/lumivex.desktop, read by GNOME,
// KDE, Xfce and every XDG-compliant session). The entry's command carries --login-item, which is how a start
// knows it came from the login.
namespace LoginItem {

QString entryPath();
// The entry exists and is not switched off (Hidden=true, or X-GNOME-Autostart-enabled=false by a desktop's
// own settings).
bool isEnabled();
// Writes or removes the entry. The reason it failed, or an empty text.
QString set(bool enabled, const QString& program);
// The absolute path of this executable, which the entry starts.
QString currentProgram();
// Whether this start came from the login.
bool launchedAtLogin(const QStringList& options);

} // namespace LoginItem

} // namespace lumivex
