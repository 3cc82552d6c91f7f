#pragma once

#include <QDateTime>
#include <QDir>
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
// "<captureName> n.png".
QString automaticSaveFileName(const QDateTime& date, int attempt);

// The first automatic-save file name that does not exist in the folder yet. Only a hint: another process can
// take the name before it is used, so writers claim names with Exporter::saveAutomatically instead.
QString automaticSaveFileName(const QDir& folder, const QDateTime& date);

} // namespace lumivex::FileNaming
