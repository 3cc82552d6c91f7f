#include "core/document/CanvasRatio.h"

#include <cmath>

namespace lumivex {

namespace {

bool isFinitePositive(double v) { return std::isfinite(v) && v > 0; }

// Agreement within this counts as already being at the ratio.
constexpr double ratioTolerance = 1e-9;

} // namespace

CanvasRatio::CanvasRatio(Kind kind, double width, double height) : m_kind(kind), m_width(width), m_height(height) {}

CanvasRatio CanvasRatio::fixed(double width, double height) { return {Kind::fixed, width, height}; }

CanvasRatio CanvasRatio::size(int width, int height) { return {Kind::size, double(width), double(height)}; }

std::optional<CanvasRatio> CanvasRatio::custom(double width, double height)
{
    const auto [low, high] = allowedRange;
    const auto inRange = [&](double v) { return v >= low && v <= high; };
    if (!inRange(width) || !inRange(height))
        return std::nullopt;
    const double value = width / height;
    if (!(value >= 0.05 && value <= 20))
        return std::nullopt;
    return fixed(width, height);
}

const std::vector<CanvasRatio::Preset>& CanvasRatio::presets()
{
    static const std::vector<Preset> list = {
        {"4:3", fixed(4, 3), std::nullopt},
        {"3:2", fixed(3, 2), std::nullopt},
        {"16:9", fixed(16, 9), std::nullopt},
        {"1:1", fixed(1, 1), std::nullopt},
        {"Open Graph", size(1200, 630), QStringLiteral("1200 × 630")},
        {"Twitter", fixed(16, 9), QStringLiteral("1600 × 900")},
        {"Facebook", fixed(1200, 630), QStringLiteral("1200 × 630")},
        {"Instagram", fixed(4, 5), QStringLiteral("1080 × 1350")},
        {"LinkedIn", fixed(1200, 627), QStringLiteral("1200 × 627")},
        {"YouTube", fixed(16, 9), QStringLiteral("1280 × 720")},
        {"Pinterest", fixed(2, 3), QStringLiteral("1000 × 1500")},
        {"Reddit", fixed(1200, 628), QStringLiteral("1200 × 628")},
        {"Snapchat", fixed(9, 16), QStringLiteral("1080 × 1920")},
    };
    return list;
}

const std::vector<CanvasRatio::DeviceSize>& CanvasRatio::iPhoneAppStoreSizes()
{
    static const std::vector<DeviceSize> list = {
        {QStringLiteral("6.9″"), 1320, 2868}, {QStringLiteral("6.7″"), 1290, 2796},
        {QStringLiteral("6.5″"), 1284, 2778}, {QStringLiteral("6.3″"), 1206, 2622},
        {QStringLiteral("6.1″"), 1179, 2556}, {QStringLiteral("5.5″"), 1242, 2208},
    };
    return list;
}

CanvasRatio CanvasRatio::DeviceSize::ratio(bool landscape) const
{
    return landscape ? size(height, width) : size(width, height);
}

std::optional<double> CanvasRatio::value() const
{
    switch (m_kind) {
    case Kind::fixed:
        if (isFinitePositive(m_width) && isFinitePositive(m_height))
            return m_width / m_height;
        return std::nullopt;
    case Kind::size:
        if (m_width >= 1 && m_height >= 1)
            return m_width / m_height;
        return std::nullopt;
    case Kind::automatic:
        break;
    }
    return std::nullopt;
}

std::optional<std::pair<int, int>> CanvasRatio::pixelSize() const
{
    if (m_kind != Kind::size || m_width < 1 || m_height < 1)
        return std::nullopt;
    return std::pair{static_cast<int>(m_width), static_cast<int>(m_height)};
}

std::optional<CanvasRatio::Preset> CanvasRatio::preset() const
{
    if (m_kind == Kind::automatic)
        return std::nullopt;
    for (const Preset& preset : presets()) {
        if (preset.ratio == *this)
            return preset;
    }
    return std::nullopt;
}

bool CanvasRatio::isCustom() const { return m_kind == Kind::fixed && !preset(); }

std::optional<CanvasRatio::DeviceSize> CanvasRatio::iPhoneAppStoreSize() const
{
    const auto pixels = pixelSize();
    if (!pixels)
        return std::nullopt;
    const auto [w, h] = *pixels;
    for (const DeviceSize& device : iPhoneAppStoreSizes()) {
        if ((device.width == w && device.height == h) || (device.width == h && device.height == w))
            return device;
    }
    return std::nullopt;
}

Rect CanvasRatio::expanding(const Rect& rect) const
{
    const auto ratio = value();
    if (!ratio || !(rect.width > 0) || !(rect.height > 0) || rect.isNull())
        return rect;
    const double current = rect.width / rect.height;
    if (std::abs(current - *ratio) <= ratioTolerance)
        return rect;

    // Multiplying by the ratio's own parts before dividing keeps whole results whole: 7/3 x 27 in doubles
    // is 63.00000000000001, which ceil would turn into one pixel too many.
    const bool widen = current < *ratio;
    Rect grown = rect;
    if (m_kind == Kind::size) {
        if (widen) {
            grown.width = m_width * rect.height / m_height;
            grown.x -= (grown.width - rect.width) / 2;
        } else {
            grown.height = rect.width * m_height / m_width;
            grown.y -= (grown.height - rect.height) / 2;
        }
        return grown;
    }
    // A fixed ratio grows by whole pixels; an odd surplus pixel goes to the right or the bottom.
    if (widen) {
        grown.width = std::ceil(m_width * rect.height / m_height);
        grown.x -= std::floor((grown.width - rect.width) / 2);
    } else {
        grown.height = std::ceil(rect.width * m_height / m_width);
        grown.y -= std::floor((grown.height - rect.height) / 2);
    }
    return grown;
}

} // namespace lumivex
