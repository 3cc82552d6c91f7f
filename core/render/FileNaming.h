#pragma once

#include <QDateTime>
#include <QString>

namespace lumivex::FileNaming {

// Every capture name and every proposed save name begins with this word.
inline constexpr char prefix[] = "Lumivex";

// "yyyy-MM-dd at HH.mm.ss" in the local time zone, e.g. "2025-03-07 at 14.05.09".
QString timestamp(const QDateTime& date);

// prefix + " " + timestamp, e.g. "Lumivex 2025-03-07 at 14.05.09".
QString captureName(const QDateTime& date);

// The name a save dialog proposes: the document name, prefixed unless it already begins with the prefix, plus
// "." and the extension ("photo" -> "Lumivex photo.png").
QString saveFileName(const QString& documentName, const QString& extension);

// The automatic-save file name for the given attempt: attempt 1 is "<captureName>.png", attempt n >= 2 is
// "<captureName> n.png". Exporter::saveAutomatically takes the first free one, atomically.
QString automaticSaveFileName(const QDateTime& date, int attempt);

} // namespace lumivex::FileNaming
