#pragma once

#include "support/FacePhotos.h"

#include <QImage>

#include <vector>

namespace lumivex::test {

// A 1920 x 1080 desktop drawn the way screenshots look: a top bar, a file manager with icons and a chat window
// with text, buttons and emoji, and (when photos are given) the photos posted in the chat. Drawn with real
// fonts, so it needs the Gui application object.
class InterfaceScreenshot {
public:
    // The desktop without a single face.
    static QImage faceless();

    // The desktop with the photos in the chat, each scaled so its labelled faces measure between smallestFace
    // and largestFace pixels (photos step through that range one after another). `faces` are the labelled
    // boxes in screenshot pixels; photos that do not fit are left out, with their faces.
    InterfaceScreenshot(const std::vector<LabelledPhoto>& photos, double smallestFace, double largestFace);

    const QImage& image() const { return m_image; }
    const std::vector<Rect>& faces() const { return m_faces; }

private:
    QImage m_image;
    std::vector<Rect> m_faces;
};

} // namespace lumivex::test
