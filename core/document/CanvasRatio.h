#pragma once

#include "core/geometry/Rect.h"

#include <QString>

#include <optional>
#include <utility>
#include <vector>

namespace lumivex {

// The output aspect ratio, or an exact output size in pixels, or none (auto).
class CanvasRatio {
public:
    enum class Kind { fixed, size, automatic };

    // A named entry of the ratio picker (defined below: it holds a CanvasRatio).
    struct Preset;

    struct DeviceSize {
        QString inches; // also its identity, with the double prime U+2033
        int width = 0;  // portrait
        int height = 0;
        CanvasRatio ratio(bool landscape) const;
        bool operator==(const DeviceSize& o) const { return inches == o.inches; }
    };

    CanvasRatio() = default; // auto
    static CanvasRatio fixed(double width, double height);
    static CanvasRatio size(int width, int height);
    static CanvasRatio automatic() { return {}; }
    // A user-entered ratio: both parts within allowedRange and width/height within 0.05...20.
    static std::optional<CanvasRatio> custom(double width, double height);

    static const std::vector<Preset>& presets();
    static const std::vector<DeviceSize>& iPhoneAppStoreSizes();
    static constexpr std::pair<double, double> allowedRange{1.0, 100.0};

    Kind kind() const { return m_kind; }
    double width() const { return m_width; }
    double height() const { return m_height; }

    std::optional<double> value() const;
    std::optional<std::pair<int, int>> pixelSize() const;
    std::optional<Preset> preset() const;
    bool isCustom() const;
    std::optional<DeviceSize> iPhoneAppStoreSize() const;

    // The smallest growth of rect to this ratio; never a shrink.
    Rect expanding(const Rect& rect) const;

    bool operator==(const CanvasRatio&) const = default;

private:
    CanvasRatio(Kind kind, double width, double height);

    Kind m_kind = Kind::automatic;
    double m_width = 0;
    double m_height = 0;
};

struct CanvasRatio::Preset {
    QString title; // also its identity
    CanvasRatio ratio;
    std::optional<QString> sizeHint; // the usual pixel size, shown beside the title
    bool operator==(const Preset& o) const { return title == o.title; }
};

} // namespace lumivex
