#include "core/model/TextPlaceholder.h"

namespace lumivex::TextPlaceholder {

QString sample(const std::optional<QString>& inputSourceID)
{
    const QString id = inputSourceID.value_or(QString()).toLower();
    if (id.contains(QLatin1String("korean")) || id.contains(QLatin1String("hangul")))
        return QStringLiteral("가");
    return QStringLiteral("A");
}

} // namespace lumivex::TextPlaceholder
