#include "core/render/RecursiveGaussian.h"

#include "core/render/LargeAllocation.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <cstring>
#include <vector>

#include <opencv2/core/utility.hpp>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace lumivex::RecursiveGaussian {

namespace {

// One pixel's four channels; arithmetic on it compiles to SIMD instructions.
using Pixel = float __attribute__((vector_size(16)));
using Bytes = std::uint8_t __attribute__((vector_size(4)));
using Lanes = std::int32_t __attribute__((vector_size(16)));

// Deriche's fit of exp(-t^2 / 2) for t >= 0 as the real part of two complex exponentials:
// (1.68 cos 0.6318t + 3.735 sin 0.6318t) e^(-1.783t) - (0.6803 cos 1.997t + 0.2598 sin 1.997t) e^(-1.723t).
// a cos(wt) + b sin(wt) is Re((a - ib) e^(iwt)), which gives the weights below.
const std::complex<double> derichWeights[2] = {{1.68, -3.735}, {-0.6803, 0.2598}};
const std::complex<double> derichExponents[2] = {{-1.783, 0.6318}, {-1.723, 1.997}};

// The kernel is g(n) = Re(sum_k a_k z_k^|n|). The causal part (n >= 0) runs w_k <- x + z_k w_k and outputs
// Re(sum a_k w_k); the anticausal part (n >= 1) runs u_k <- z_k (x + u_k). Both are kept as two complex
// first-order recursions rather than one real fourth-order one: with poles this close to 1 the real form
// loses all precision in float.
struct Filter {
    float zr[2], zi[2];        // poles
    float ar[2], ai[2];        // weights, normalised so that the whole kernel sums to 1
    float causalR[2], causalI[2];         // 1 / (1 - z): causal state after a constant run of 1
    float anticausalR[2], anticausalI[2]; // z / (1 - z): anticausal state after a constant run of 1
};

Filter makeFilter(double sigma)
{
    Filter f{};
    std::complex<double> z[2], a[2];
    double sum = 0;
    for (int k = 0; k < 2; ++k) {
        const std::complex<double> exact = std::exp(derichExponents[k] / sigma);
        // Normalise with the poles as the recursion will see them, so that a flat area stays exactly flat.
        z[k] = {double(float(exact.real())), double(float(exact.imag()))};
        a[k] = derichWeights[k];
        sum += (a[k] * (1.0 + z[k]) / (1.0 - z[k])).real();
    }
    for (int k = 0; k < 2; ++k) {
        const std::complex<double> weight = a[k] / sum;
        const std::complex<double> causal = 1.0 / (1.0 - z[k]);
        const std::complex<double> anticausal = z[k] / (1.0 - z[k]);
        f.zr[k] = float(z[k].real());
        f.zi[k] = float(z[k].imag());
        f.ar[k] = float(weight.real());
        f.ai[k] = float(weight.imag());
        f.causalR[k] = float(causal.real());
        f.causalI[k] = float(causal.imag());
        f.anticausalR[k] = float(anticausal.real());
        f.anticausalI[k] = float(anticausal.imag());
    }
    return f;
}

inline Pixel loadPixel(const std::uint8_t* bytes)
{
#if defined(__SSE2__)
    std::int32_t packed;
    std::memcpy(&packed, bytes, sizeof packed);
    const __m128i zero = _mm_setzero_si128();
    const __m128i words = _mm_unpacklo_epi8(_mm_cvtsi32_si128(packed), zero);
    return Pixel(_mm_cvtepi32_ps(_mm_unpacklo_epi16(words, zero)));
#else
    Bytes b;
    std::memcpy(&b, bytes, sizeof b);
    return __builtin_convertvector(b, Pixel);
#endif
}

// Rounds to 8 bits and keeps every colour channel at or below alpha, so the result stays valid premultiplied
// data even where the approximation rings a little (lane 3 is alpha on little-endian ARGB32).
inline void storePixel(std::uint8_t* bytes, Pixel value)
{
    const Pixel zero = {0, 0, 0, 0};
    const Pixel full = {255, 255, 255, 255};
    value = value < zero ? zero : value;
    value = value > full ? full : value;
    const Pixel alpha = __builtin_shuffle(value, Lanes{3, 3, 3, 3});
    value = value > alpha ? alpha : value;
#if defined(__SSE2__)
    const __m128i lanes = _mm_cvttps_epi32(__m128(value + 0.5f));
    const __m128i words = _mm_packs_epi32(lanes, lanes);
    const std::int32_t packed = _mm_cvtsi128_si32(_mm_packus_epi16(words, words));
    std::memcpy(bytes, &packed, sizeof packed);
#else
    const Lanes rounded = __builtin_convertvector(value + 0.5f, Lanes);
    const Bytes b = __builtin_convertvector(rounded, Bytes);
    std::memcpy(bytes, &b, sizeof b);
#endif
}

// The column pass keeps its result as 16-bit fixed point with 6 fraction bits (1/64 of a level, far below
// what rounding to 8 bits loses): half the memory of floats, and half the traffic between the two passes.
using Stored = std::int16_t;
constexpr float storedScale = 64;

inline void storeIntermediate(Stored* at, Pixel value)
{
    const Pixel zero = {0, 0, 0, 0};
    value = (value < zero ? zero : value) * storedScale + 0.5f;
#if defined(__SSE2__)
    const __m128i lanes = _mm_cvttps_epi32(__m128(value));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(at), _mm_packs_epi32(lanes, lanes));
#else
    for (int c = 0; c < 4; ++c)
        at[c] = Stored(std::min(value[c], 32767.0f));
#endif
}

inline Pixel loadIntermediate(const Stored* at)
{
#if defined(__SSE2__)
    const __m128i words = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(at));
    return Pixel(_mm_cvtepi32_ps(_mm_unpacklo_epi16(words, _mm_setzero_si128()))) * (1 / storedScale);
#else
    return Pixel{float(at[0]), float(at[1]), float(at[2]), float(at[3])} * (1 / storedScale);
#endif
}

// The state of one signal: two complex recursions, real and imaginary parts per channel.
struct State {
    Pixel r0, i0, r1, i1;
};

inline void startCausal(State& s, Pixel edge, const Filter& f)
{
    s = {edge * f.causalR[0], edge * f.causalI[0], edge * f.causalR[1], edge * f.causalI[1]};
}

inline void startAnticausal(State& s, Pixel edge, const Filter& f)
{
    s = {edge * f.anticausalR[0], edge * f.anticausalI[0], edge * f.anticausalR[1], edge * f.anticausalI[1]};
}

inline Pixel output(const State& s, const Filter& f)
{
    return f.ar[0] * s.r0 - f.ai[0] * s.i0 + f.ar[1] * s.r1 - f.ai[1] * s.i1;
}

// w <- x + z w, then the causal output.
inline Pixel causalStep(State& s, Pixel x, const Filter& f)
{
    const Pixel r0 = x + f.zr[0] * s.r0 - f.zi[0] * s.i0;
    const Pixel i0 = f.zr[0] * s.i0 + f.zi[0] * s.r0;
    const Pixel r1 = x + f.zr[1] * s.r1 - f.zi[1] * s.i1;
    const Pixel i1 = f.zr[1] * s.i1 + f.zi[1] * s.r1;
    s = {r0, i0, r1, i1};
    return output(s, f);
}

// u <- z (x + u): moves the anticausal state one sample back.
inline void anticausalStep(State& s, Pixel x, const Filter& f)
{
    const Pixel t0 = x + s.r0;
    const Pixel t1 = x + s.r1;
    s = {f.zr[0] * t0 - f.zi[0] * s.i0, f.zr[0] * s.i0 + f.zi[0] * t0, f.zr[1] * t1 - f.zi[1] * s.i1,
         f.zr[1] * s.i1 + f.zi[1] * t1};
}

// Blurs the columns [firstColumn, endColumn) of `window` into `result`, keeping the rows [firstRow, endRow)
// (relative to the window). The columns run side by side, so the work vectorises across the row.
void blurColumns(const QImage& source, const QRect& window, int firstRow, int endRow, int firstColumn, int endColumn,
                 const Filter& f, Stored* result)
{
    const int width = window.width();
    const int height = window.height();
    const int count = endColumn - firstColumn;
    auto line = [&](int row) {
        return source.constScanLine(window.top() + row) + std::size_t(window.left() + firstColumn) * 4;
    };
    auto outLine = [&](int row) { return result + (std::size_t(row - firstRow) * width + firstColumn) * 4; };
    std::vector<State> states(static_cast<std::size_t>(count));

    const std::uint8_t* top = line(0);
    for (int x = 0; x < count; ++x)
        startCausal(states[x], loadPixel(top + 4 * x), f);
    for (int row = 0; row < firstRow; ++row) {
        const std::uint8_t* in = line(row);
        for (int x = 0; x < count; ++x)
            causalStep(states[x], loadPixel(in + 4 * x), f);
    }
    for (int row = firstRow; row < endRow; ++row) {
        const std::uint8_t* in = line(row);
        Stored* out = outLine(row);
        for (int x = 0; x < count; ++x)
            storeIntermediate(out + 4 * x, causalStep(states[x], loadPixel(in + 4 * x), f));
    }

    const std::uint8_t* bottom = line(height - 1);
    for (int x = 0; x < count; ++x)
        startAnticausal(states[x], loadPixel(bottom + 4 * x), f);
    for (int row = height - 1; row >= endRow; --row) {
        const std::uint8_t* in = line(row);
        for (int x = 0; x < count; ++x)
            anticausalStep(states[x], loadPixel(in + 4 * x), f);
    }
    for (int row = endRow - 1; row >= firstRow; --row) {
        const std::uint8_t* in = line(row);
        Stored* out = outLine(row);
        for (int x = 0; x < count; ++x) {
            storeIntermediate(out + 4 * x, loadIntermediate(out + 4 * x) + output(states[x], f));
            anticausalStep(states[x], loadPixel(in + 4 * x), f);
        }
    }
}

// Blurs `Rows` rows of column-blurred data at once, so that their independent recursions overlap in the
// processor instead of each waiting for its own previous sample.
template <int Rows>
void blurRowGroup(const Stored* in, int width, int firstColumn, int endColumn, const Filter& f,
                  std::vector<Pixel>& causal, std::uint8_t* const* outLines)
{
    const int outWidth = endColumn - firstColumn;
    auto at = [&](int row, int x) { return loadIntermediate(in + (std::size_t(row) * width + x) * 4); };
    State s[Rows];

    for (int r = 0; r < Rows; ++r)
        startCausal(s[r], at(r, 0), f);
    for (int x = 0; x < firstColumn; ++x)
        for (int r = 0; r < Rows; ++r)
            causalStep(s[r], at(r, x), f);
    for (int x = firstColumn; x < endColumn; ++x)
        for (int r = 0; r < Rows; ++r)
            causal[std::size_t(r) * outWidth + (x - firstColumn)] = causalStep(s[r], at(r, x), f);

    for (int r = 0; r < Rows; ++r)
        startAnticausal(s[r], at(r, width - 1), f);
    for (int x = width - 1; x >= endColumn; --x)
        for (int r = 0; r < Rows; ++r)
            anticausalStep(s[r], at(r, x), f);
    for (int x = endColumn - 1; x >= firstColumn; --x) {
        for (int r = 0; r < Rows; ++r) {
            const Pixel value = causal[std::size_t(r) * outWidth + (x - firstColumn)] + output(s[r], f);
            storePixel(outLines[r] + 4 * std::size_t(x - firstColumn), value);
            anticausalStep(s[r], at(r, x), f);
        }
    }
}

bool supportedFormat(QImage::Format format)
{
    return format == QImage::Format_ARGB32_Premultiplied || format == QImage::Format_RGB32;
}

} // namespace

QImage blurred(const QImage& source, const QRect& window, const QRect& output, double sigma)
{
    if (source.isNull() || !supportedFormat(source.format()) || !(sigma > 0) || window.isEmpty()
        || output.isEmpty() || !source.rect().contains(window) || !window.contains(output))
        return {};
    QImage result = LargeAllocation::image(output.size(), source.format());
    const std::size_t storedCount = std::size_t(window.width()) * std::size_t(output.height()) * 4;
    const auto stored = LargeAllocation::allocate(storedCount * sizeof(Stored));
    if (result.isNull() || !stored)
        return {};
    Stored* const columns = reinterpret_cast<Stored*>(stored.get());
    const Filter f = makeFilter(std::min(sigma, maximumSigma));
    const int width = window.width();
    const int firstRow = output.top() - window.top();
    const int endRow = firstRow + output.height();
    const int firstColumn = output.left() - window.left();
    const int endColumn = firstColumn + output.width();

    // Columns and rows are independent signals: both passes split into stripes that run on OpenCV's threads.
    constexpr int columnStripe = 128;
    cv::parallel_for_(cv::Range(0, (width + columnStripe - 1) / columnStripe), [&](const cv::Range& stripes) {
        for (int stripe = stripes.start; stripe < stripes.end; ++stripe)
            blurColumns(source, window, firstRow, endRow, stripe * columnStripe,
                        std::min(width, (stripe + 1) * columnStripe), f, columns);
    });

    // Writing through bits() taken once: scanLine() of a non-const image is not safe to call from threads.
    std::uint8_t* const bits = result.bits();
    const std::size_t bytesPerLine = std::size_t(result.bytesPerLine());
    constexpr int group = 4;
    constexpr int rowStripe = 8 * group;
    cv::parallel_for_(cv::Range(0, (output.height() + rowStripe - 1) / rowStripe), [&](const cv::Range& stripes) {
        std::vector<Pixel> causal(std::size_t(group) * output.width());
        std::uint8_t* lines[group];
        for (int stripe = stripes.start; stripe < stripes.end; ++stripe) {
            const int end = std::min(output.height(), (stripe + 1) * rowStripe);
            int row = stripe * rowStripe;
            for (; row + group <= end; row += group) {
                for (int r = 0; r < group; ++r)
                    lines[r] = bits + std::size_t(row + r) * bytesPerLine;
                blurRowGroup<group>(columns + std::size_t(row) * width * 4, width, firstColumn, endColumn, f,
                                    causal, lines);
            }
            for (; row < end; ++row) {
                lines[0] = bits + std::size_t(row) * bytesPerLine;
                blurRowGroup<1>(columns + std::size_t(row) * width * 4, width, firstColumn, endColumn, f, causal,
                                lines);
            }
        }
    });
    return result;
}

} // namespace lumivex::RecursiveGaussian
