#include "FileNaming.h"

#include <QLocale>

namespace lumivex::FileNaming {

QString timestamp(const QDateTime& date)
{
    // The C locale keeps the digits and the word "at" the same whatever the user's language.
    return QLocale::c().toString(date.toLocalTime(), QStringLiteral("yyyy-MM-dd 'at' HH.mm.ss"));
}

QString captureName(const QDateTime& date)
{
    return QLatin1String(prefix) + QLatin1Char(' ') + timestamp(date);
}

QString saveFileName(const QString& documentName, const QString& extension)
{
    const QString base = documentName.startsWith(QLatin1String(prefix))
        ? documentName
        : QLatin1String(prefix) + QLatin1Char(' ') + documentName;
    return base + QLatin1Char('.') + extension;
}

QString automaticSaveFileName(const QDateTime& date, int attempt)
{
    const QString base = captureName(date);
    if (attempt <= 1)
        return base + QLatin1String(".png");
    return base + QLatin1Char(' ') + QString::number(attempt) + QLatin1String(".png");
}

} // namespace lumivex::FileNaming
