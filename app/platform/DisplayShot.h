#pragma once

#include "core/geometry/Rect.h"

#include <QImage>
#include <QPointer>
#include <QScreen>
#include <QString>

namespace lumivex {

// One display frozen at the moment a capture started.
struct DisplayShot {
    // The Qt screen showing this display, when one matches (none in tests without a display server).
    QPointer<QScreen> screen;
    // The display's name as the display server calls it (a RandR monitor name on X11).
    QString name;
    // The whole display at its native pixel size, without the pointer. On X11 this is RGB32 straight from the
    // server, whose padding byte is not 0xff: cut results out with CaptureGeometry::crop, which makes them opaque.
    QImage image;
    // The display in top-left global space, points.
    Rect globalFrame;

    // Pixels per point: the image's pixel width over the frame's width in points (1 for an empty frame).
    double scale() const
    {
        return globalFrame.width > 0 && !image.isNull() ? image.width() / globalFrame.width : 1.0;
    }
};

} // namespace lumivex
