#pragma once

#include "core/geometry/Rect.h"

#include <QImage>
#include <QString>

#include <vector>

namespace lumivex::test {

// Real photographs with faces, from Debian packages that the tests depend on; nothing is downloaded.
struct LabelledPhoto {
    QString path;
    QImage image;
    std::vector<Rect> faces; // hand-labelled face boxes, in image pixels
};

// dlib's example faces (libdlib19.x): group photos of the PASCAL VOC set with the face boxes dlib's authors
// labelled, from the folder's testing.xml and training.xml. Empty when the package is missing.
std::vector<LabelledPhoto> dlibLabelledPhotos();

// The path of a packaged file, or an empty string when the package that ships it is missing. `pattern` may hold
// wildcards in its folder part (the dlib folder carries the library's version).
QString packagedFile(const QString& pattern);

// A detection and a labelled face are the same face when each one's centre lies inside the other.
bool sameFace(const Rect& a, const Rect& b);

// Detections against labelled faces.
struct FaceScore {
    int found = 0;                 // labelled faces with a detection
    int reportedTwice = 0;         // labelled faces with more than one
    std::vector<Rect> missed;      // labelled faces without a detection
    std::vector<Rect> unlabelled;  // detections of no labelled face
};
FaceScore scoreFaces(const std::vector<Rect>& detected, const std::vector<Rect>& labelled);

// scikit-image's astronaut (python3-skimage) and OpenCV's football player (opencv-doc): one face each.
QString astronautPhoto();
QString footballerPhoto();

} // namespace lumivex::test
