#pragma once

#include <QString>

namespace lumivex {

// The encoding of an exported image: lossless PNG, or JPEG at a quality between 0 and 1.
class ExportFormat {
public:
    enum class Kind { png, jpeg };

    static constexpr double defaultJpegQuality = 0.92;

    static ExportFormat png() { return ExportFormat(Kind::png, 1.0); }
    static ExportFormat jpeg(double quality) { return ExportFormat(Kind::jpeg, quality); }

    // "jpg" and "jpeg" in any letter case give JPEG at the default quality; everything else gives PNG.
    static ExportFormat forExtension(const QString& extension);

    Kind kind() const { return m_kind; }
    // The JPEG quality as given (0...1); 1 for PNG.
    double quality() const { return m_quality; }
    // The MIME type of the encoded bytes ("image/png" or "image/jpeg").
    QString mimeType() const;

    bool operator==(const ExportFormat&) const = default;

private:
    ExportFormat(Kind kind, double quality) : m_kind(kind), m_quality(quality) {}

    Kind m_kind;
    double m_quality;
};

} // namespace lumivex
