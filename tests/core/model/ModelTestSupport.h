#pragma once

#include "support/AnnotationBuilders.h"

#include <QImage>
#include <QRect>
#include <QSizeF>

#include <gtest/gtest.h>

#include <ostream>

namespace lumivex::test {

// Bounding box of the pixels with any alpha.
inline QRect inkBounds(const QImage& image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

inline void expectNear(Point actual, Point expected, double tolerance = 1e-9)
{
    EXPECT_NEAR(actual.distance(expected), 0, tolerance) << "expected (" << expected.x << ", " << expected.y
                                                         << "), got (" << actual.x << ", " << actual.y << ")";
}

} // namespace lumivex::test

inline void PrintTo(const QSizeF& s, std::ostream* os) { *os << s.width() << " x " << s.height(); }
