#include "ExportFormat.h"

namespace lumivex {

ExportFormat ExportFormat::forExtension(const QString& extension)
{
    const QString lower = extension.toLower();
    if (lower == QLatin1String("jpg") || lower == QLatin1String("jpeg"))
        return jpeg(defaultJpegQuality);
    return png();
}

QString ExportFormat::mimeType() const
{
    return m_kind == Kind::jpeg ? QStringLiteral("image/jpeg") : QStringLiteral("image/png");
}

} // namespace lumivex
