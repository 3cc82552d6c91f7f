#pragma once

#include "core/document/TextReader.h"
#include "core/geometry/Rect.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace lumivex {

class RecognitionWorker;

// Reads the text of a picture with Tesseract in two passes: one with the user's own languages, and an automatic
// one with every installed model of the scripts the user prefers, in a mode that finds scattered interface text.
// The passes are merged (the first wins close calls) and the lines put in reading order. Languages are BCP 47
// identifiers ("ko-KR") everywhere except at the call into Tesseract, which names its models ("kor").
namespace TextRecognizer {

// One recognised line before ordering.
struct Candidate {
    QString text;     // trimmed
    Rect rect;        // pixels of the recognised picture, origin top left
    float confidence; // 0 to 1
    bool operator==(const Candidate&) const = default;
};

// The lines of `image` within `region` (whole pixels around it, clipped to the image; the whole image without
// one) in reading order, with rectangles in the image's pixels. A region with less than one pixel inside the image
// gives an empty result without starting recognition. Runs on the calling thread and blocks until the shared
// worker process answers; safe to call from several threads.
TextResult recognize(const QImage& image, const std::optional<Rect>& region, const QStringList& preferredLanguages);
// The same through a given worker.
TextResult recognize(RecognitionWorker& worker, const QImage& image, const std::optional<Rect>& region,
                     const QStringList& preferredLanguages);

// The recognition languages for the first pass: up to two supported languages matching the preferred ones (a
// preferred script first), then "en-US" unless already there.
QStringList primaryLanguages(const QStringList& preferred, const QStringList& supported);
QStringList primaryLanguages(const QStringList& preferred);

// BCP 47 identifiers of the installed Tesseract models that we know, in a fixed order.
QStringList supportedLanguages();
// Tesseract's model for a BCP 47 identifier ("ko-KR" → "kor", "zh-Hant-TW" → "chi_tra"), empty when unknown.
QString tesseractModel(const QString& identifier);
// The installed models' names ("eng", "kor", ...), from Tesseract's data folder.
QStringList installedModels();
// Where Tesseract's models are: $TESSDATA_PREFIX or Debian's folder.
QString modelFolder();
// The models of the automatic pass: every installed model of a script of the preferred languages, then English.
QStringList automaticModels(const QStringList& preferred, const QStringList& installed);

// Whether a candidate is text rather than something Tesseract made up from a blur, an icon or a photo: certain
// enough, with at least one letter or digit.
bool isPlausible(const Candidate& candidate);
// The plausible candidates, in order.
std::vector<Candidate> plausible(const std::vector<Candidate>& candidates);

// Adds the detected candidates to the primary ones. A detected line that shares more than half of the smaller of
// itself and a primary line is a reading of that line: it replaces it when it is more than 0.05 more confident
// and the two are the same line (each covers more than half of the other), and is dropped otherwise. One that
// overlaps no primary line is added.
std::vector<Candidate> merge(const std::vector<Candidate>& primary, const std::vector<Candidate>& detected);
// Reading order: rows from the top (a line joins a row when its vertical centre lies strictly inside the row's
// first line), each row from the left.
std::vector<Candidate> ordered(std::vector<Candidate> candidates);

} // namespace TextRecognizer

} // namespace lumivex
