#pragma once

#include <QString>

namespace lumivex {

// Why freezing the displays failed. The description is the text shown to the user.
class CaptureError {
public:
    enum class Kind { failed, permissionDenied, noDisplay };

    static CaptureError failed(const QString& underlyingDescription) { return {Kind::failed, underlyingDescription}; }
    static CaptureError permissionDenied() { return {Kind::permissionDenied, {}}; }
    static CaptureError noDisplay() { return {Kind::noDisplay, {}}; }

    Kind kind() const { return m_kind; }
    // The platform's own description of what went wrong (only for `failed`).
    const QString& underlyingDescription() const { return m_underlying; }
    QString description() const;

    bool operator==(const CaptureError&) const = default;

private:
    CaptureError(Kind kind, QString underlying) : m_kind(kind), m_underlying(std::move(underlying)) {}

    Kind m_kind;
    QString m_underlying;
};

} // namespace lumivex
