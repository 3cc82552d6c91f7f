#pragma once

#include <QImage>
#include <QRect>

namespace lumivex {

// A gaussian blur whose cost does not grow with its radius: Deriche's fourth-order recursive approximation of
// the gaussian, run down the columns and then along the rows, each forwards and backwards. It stays within a
// fraction of a grey level of a true gaussian for sigma >= minimumSigma; below that, convolve directly.
namespace RecursiveGaussian {

constexpr double minimumSigma = 2.0;
// Far beyond any useful blur; keeps the recursion's state within float precision.
constexpr double maximumSigma = 100000.0;

// The pixels of `output` of `source` (4 channels of 8 bits: Format_ARGB32_Premultiplied or Format_RGB32)
// blurred with the given sigma, where every pixel outside `window` counts as a copy of the nearest pixel of
// `window`: its edges extend to infinity. `output` must lie inside `window` and `window` inside the image.
// The result has the size of `output` and the format of `source`; a null image when the arguments are unusable.
QImage blurred(const QImage& source, const QRect& window, const QRect& output, double sigma);

} // namespace RecursiveGaussian

} // namespace lumivex
