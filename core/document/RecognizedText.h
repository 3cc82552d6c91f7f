#pragma once

#include "core/geometry/Rect.h"

#include <QString>

#include <vector>

namespace lumivex {

// Text read out of a picture: its lines in reading order.
struct RecognizedText {
    struct Line {
        QString text;
        Rect rect; // in pixels of the document's base image
        bool operator==(const Line&) const = default;
    };

    std::vector<Line> lines;

    // The lines joined with single line feeds, without a trailing one.
    QString text() const;
    // User-perceived characters (a Hangul syllable or an emoji with its modifiers is one) that are not white space.
    int characterCount() const;
    bool isEmpty() const { return characterCount() == 0; }

    bool operator==(const RecognizedText&) const = default;
};

} // namespace lumivex
