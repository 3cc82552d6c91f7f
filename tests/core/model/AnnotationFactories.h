#pragma once

#include "core/model/Annotation.h"

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
