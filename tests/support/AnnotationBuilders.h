#pragma once

#include "core/geometry/Point.h"
#include "core/geometry/Rect.h"
#include "core/geometry/Size.h"
#include "core/geometry/Vector.h"
#include "core/model/Annotation.h"
#include "core/model/RGBAColor.h"

#include <QString>

#include <ostream>

// Readable failure messages for the geometry types, and the annotations tests build again and again.
namespace lumivex {

inline void PrintTo(Point p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }
inline void PrintTo(Vector v, std::ostream* os) { *os << "(" << v.dx << ", " << v.dy << ")"; }
inline void PrintTo(Size s, std::ostream* os) { *os << s.width << " x " << s.height; }
inline void PrintTo(const Rect& r, std::ostream* os)
{
    *os << "(" << r.x << ", " << r.y << ", " << r.width << " x " << r.height << ")";
}

namespace test {

inline Annotation framed(AnnotationKind kind, Rect frame, double rotation = 0)
{
    Annotation a(kind);
    a.frame = frame;
    a.rotation = rotation;
    return a;
}

inline Annotation rectangleAt(const Rect& frame, bool filled = false)
{
    Annotation a = framed(AnnotationKind::rectangle, frame);
    if (filled)
        a.fillColor = RGBAColor::black;
    return a;
}

inline Annotation arrowFrom(Point tail, Point tip, double lineWidth = 4, double bend = 0)
{
    Annotation a(AnnotationKind::arrow);
    a.points = {tail, tip};
    a.lineWidth = lineWidth;
    a.arrowBend = bend;
    return a;
}

// A text box with its frame measured, its top-left corner at `origin`.
inline Annotation textBox(const QString& text, double fontSize, Point origin = {})
{
    Annotation a = framed(AnnotationKind::text, Rect(origin, Size{}));
    a.text = text;
    a.fontSize = fontSize;
    a.refreshTextFrame(false);
    return a;
}

} // namespace test

} // namespace lumivex
