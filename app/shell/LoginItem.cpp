#include "app/shell/LoginItem.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>

namespace lumivex::LoginItem {

namespace {

// Desktop entry Exec quoting: reserved characters in double quotes, with \, ", ` and $ escaped.
QString quotedForExec(const QString& program)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    if (!std::any_of(program.begin(), program.end(), [](QChar c) { return reserved.contains(c); }))
        return program;
    QString escaped = program;
    for (const char* special : {"\\", "\"", "`", "$"})
        escaped.replace(QLatin1String(special), QLatin1Char('\\') + QLatin1String(special));
    // The Exec key is itself a string value, whose own escape doubles every backslash once more.
    escaped.replace(QLatin1String("\\"), QLatin1String("\\\\"));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

} // namespace

QString entryPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/autostart/lumivex.desktop");
}

bool isEnabled()
{
    QFile file(entryPath());
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.compare(QLatin1String("Hidden=true"), Qt::CaseInsensitive) == 0
            || line.compare(QLatin1String("X-GNOME-Autostart-enabled=false"), Qt::CaseInsensitive) == 0)
            return false;
    }
    return true;
}

QString set(bool enabled, const QString& program)
{
    const QString path = entryPath();
    if (!enabled) {
        if (!QFileInfo::exists(path) || QFile::remove(path))
            return {};
        return QCoreApplication::translate("lumivex::LoginItem", "자동 실행 항목을 지우지 못했습니다: %1").arg(path);
    }
    if (!QDir().mkpath(QFileInfo(path).path()))
        return QCoreApplication::translate("lumivex::LoginItem", "자동 실행 폴더를 만들지 못했습니다: %1").arg(QFileInfo(path).path());
    const QString entry = QStringLiteral("[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Name=Lumivex\n"
                                         "Comment=Screenshot and annotation\n"
                                         "Exec=%1 --login-item\n"
                                         "Icon=lumivex\n"
                                         "Terminal=false\n"
                                         "NoDisplay=true\n"
                                         "X-GNOME-Autostart-enabled=true\n")
                              .arg(quotedForExec(program));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(entry.toUtf8()) < 0 || !file.commit())
        return QCoreApplication::translate("lumivex::LoginItem", "자동 실행 항목을 쓰지 못했습니다: %1").arg(path);
    return {};
}

QString currentProgram()
{
    return QCoreApplication::applicationFilePath();
}

bool launchedAtLogin(const QStringList& options)
{
    return options.contains(QStringLiteral("--login-item"));
}

} // namespace lumivex::LoginItem
