#pragma once

#include "core/model/Annotation.h"

#include <QImage>
#include <QRect>
#include <QSizeF>

#include <gtest/gtest.h>

#include <ostream>

namespace lumivex {

inline void PrintTo(Point p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }
inline void PrintTo(Vector v, std::ostream* os) { *os << "(" << v.dx << ", " << v.dy << ")"; }
inline void PrintTo(Size s, std::ostream* os) { *os << s.width << " x " << s.height; }
inline void PrintTo(const Rect& r, std::ostream* os) { *os << "(" << r.x << ", " << r.y << ", " << r.width << " x " << r.height << ")"; }

namespace test {

inline Annotation arrowFrom(Point tail, Point tip, double lineWidth = 4, double bend = 0)
{
    Annotation a(AnnotationKind::arrow);
    a.points = {tail, tip};
    a.lineWidth = lineWidth;
    a.arrowBend = bend;
    return a;
}

inline Annotation framed(AnnotationKind kind, Rect frame, double rotation = 0)
{
    Annotation a(kind);
    a.frame = frame;
    a.rotation = rotation;
    return a;
}

inline Annotation textBox(const QString& text, double fontSize, Point origin = {})
{
    Annotation a = framed(AnnotationKind::text, Rect(origin, Size{}));
    a.text = text;
    a.fontSize = fontSize;
    a.refreshTextFrame(false);
    return a;
}

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

} // namespace test

} // namespace lumivex

inline void PrintTo(const QSizeF& s, std::ostream* os) { *os << s.width() << " x " << s.height(); }
