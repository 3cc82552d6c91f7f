#pragma once

#include <QImage>
#include <QString>

namespace lumivex {

// An image on its way into an editor: the bitmap, its pixel scale (device pixels per point, >= 1) and the
// document name it is opened under.
struct LoadedImage {
    QImage image;
    double scale = 1;
    QString name;
};

} // namespace lumivex
