#pragma once

#include "core/document/EditorState.h"
#include "core/geometry/Rect.h"
#include "core/model/Annotation.h"
#include "core/document/BlurCache.h"

#include <QImage>
#include <QRectF>
#include <QTransform>
#include <QSet>
#include <QString>
#include <QUuid>

#include <optional>

class QPainter;

namespace lumivex {

// Turns the editable content of a document into pixels. makeImage flattens a state into a new bitmap (copy,
// save, text recognition); draw paints the same picture into a painter the caller owns (the canvas, on every
// repaint). Both share one composition: the canvas filled with the padding colour where padding or the ratio
// grew it, the visible part of the base image, then every annotation in order, not clipped to the image.
namespace Renderer {

using IdSet = QSet<QUuid>;

// Bitmaps beyond these are refused rather than attempted: the rasteriser works in 16-bit coordinates, and a
// gigantic canvas would take all memory.
constexpr int maximumSide = 32767;
constexpr qint64 maximumPixels = qint64(1) << 28;

// The flattened picture, or none when the canvas rounds to less than one pixel either way, is not finite, or
// is too large for a bitmap. Format_ARGB32_Premultiplied; with an exact output size (ratio `size`) an opaque
// Format_RGB32 picture of exactly that size, composed over white.
std::optional<QImage> makeImage(const EditorState& state, BlurCache* cache = nullptr);

// Paints the picture into `painter`, whose user space must map image pixels (y down) to its device; the canvas
// rectangle's top-left corner lands on the painter's origin. Annotations in `hiding` are skipped; text
// annotations in `glyphsHidden` show their box and outline but not their glyphs.
void draw(const EditorState& state, QPainter& painter, const IdSet& hiding, const IdSet& glyphsHidden,
          BlurCache* cache = nullptr);

// The bottom of the picture, in image pixels: the canvas filled with the padding colour where padding or the ratio
// grew it, then the visible part of the base image, always at its pixel size whatever device pixel ratio the
// image object carries. `reducedBase`, when not null, is the base image scaled down (the canvas keeps one for its
// zoom) and is drawn over the same rectangle instead.
void drawBase(const EditorState& state, QPainter& painter, const QImage& reducedBase = QImage());

// The device pixels that drawing the annotation with draw() through `imageToDevice` can touch: a bound, never
// too tight, shadows and antialiased edges included. Empty when it draws nothing.
QRectF deviceBounds(const Annotation& annotation, const QTransform& imageToDevice);

// Where a text annotation's glyphs go: the measured text, centred in the frame. The inline editor is placed over it.
Rect textRect(const Annotation& annotation);

// One annotation in image pixels. `base` is the document's base image, the source of blur patches.
void draw(const Annotation& annotation, QPainter& painter, const QImage& base, BlurCache* cache, bool drawGlyphs);
// The arrow's shaft and head, filled, with one soft shadow that follows the painter's scale.
void drawArrow(const Annotation& annotation, QPainter& painter);
// The background box, the glyph outline, then (unless hidden) the glyphs, centred on the frame.
void drawText(const Annotation& annotation, QPainter& painter, bool drawGlyphs);
// The emoji scaled to fit the frame with its proportions kept, centred.
void drawEmoji(const QString& emoji, const Rect& frame, QPainter& painter);

} // namespace Renderer

} // namespace lumivex
