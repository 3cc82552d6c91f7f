#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>

#include <vector>

namespace lumivex::test {

// Interface text drawn the way screens show it (Noto Sans CJK, greyscale antialiasing, 11 to 14 px at scale 1),
// with the lines each picture holds, for measuring text recognition against known text.
struct ScreenTextPicture {
    QString name;       // e.g. "dark@2x"
    QImage image;
    QStringList lines;  // in reading order
    std::vector<QRect> rects; // where each line's text is drawn
    std::vector<int> pixelSizes; // each line's font size in pixels of the picture
};

namespace ScreenTextPictures {

// A panel of Korean and English interface lines: light or dark theme, at a pixel scale, lines from `first` on
// (the line list wraps around).
ScreenTextPicture panel(bool dark, int scale, int first, int count);
// Four panels (light and dark, scales 1 and 2) of 12 lines each, and one picture with a light and a dark pane side
// by side whose rows line up (so they read row by row, left then right): 60 lines in all.
std::vector<ScreenTextPicture> all();

// Character error rate of `read` against `expected`: the edit distance between the two texts (lines joined by
// line feeds, runs of spaces read as one) over the expected text's length.
struct ErrorCount {
    int errors = 0;
    int characters = 0;
    double rate() const { return characters ? double(errors) / characters : 0.0; }
    ErrorCount& operator+=(const ErrorCount& o) { errors += o.errors; characters += o.characters; return *this; }
};
ErrorCount characterErrors(const QStringList& expected, const QString& read);

// The edit distance between two texts, in UTF-16 code units (every Hangul syllable is one).
int editDistance(const QString& a, const QString& b);

} // namespace ScreenTextPictures

} // namespace lumivex::test
