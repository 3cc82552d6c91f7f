#pragma once

#include "core/model/Annotation.h"

#include <QSizeF>

#include <ostream>

namespace lumivex {

// Readable failure messages for the geometry values.
inline void PrintTo(Point p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }
inline void PrintTo(Vector v, std::ostream* os) { *os << "(" << v.dx << ", " << v.dy << ")"; }
inline void PrintTo(Size s, std::ostream* os) { *os << s.width << " x " << s.height; }
inline void PrintTo(const Rect& r, std::ostream* os)
{
    *os << "(" << r.x << ", " << r.y << ", " << r.width << " x " << r.height << ")";
}

} // namespace lumivex

inline void PrintTo(const QSizeF& s, std::ostream* os) { *os << s.width() << " x " << s.height(); }

namespace lumivex::test {

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
    Annotation a(AnnotationKind::text);
    a.text = text;
    a.fontSize = fontSize;
    a.frame = Rect(origin, Size{});
    a.refreshTextFrame(false);
    return a;
}

} // namespace lumivex::test
