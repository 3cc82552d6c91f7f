#include "core/settings/KeyValueStore.h"

namespace lumivex {

std::optional<bool> KeyValueStore::optionalBool(const QString& key) const
{
    const std::optional<QVariant> stored = value(key);
    if (!stored)
        return std::nullopt;
    switch (stored->typeId()) {
    case QMetaType::Bool:
        return stored->toBool();
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
        return stored->toDouble() != 0;
    case QMetaType::QString: {
        // INI files hold every scalar as text; QVariant would call any non-empty garbage "true".
        const QString text = stored->toString().trimmed().toLower();
        if (text == QLatin1String("true") || text == QLatin1String("1"))
            return true;
        if (text == QLatin1String("false") || text == QLatin1String("0"))
            return false;
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

bool KeyValueStore::boolValue(const QString& key) const
{
    return optionalBool(key).value_or(false);
}

std::optional<QString> KeyValueStore::string(const QString& key) const
{
    const std::optional<QVariant> stored = value(key);
    if (!stored || stored->typeId() != QMetaType::QString)
        return std::nullopt;
    return stored->toString();
}

QStringList KeyValueStore::stringList(const QString& key) const
{
    const std::optional<QVariant> stored = value(key);
    if (!stored)
        return {};
    if (stored->typeId() == QMetaType::QString)
        return {stored->toString()};
    if (stored->typeId() == QMetaType::QStringList)
        return stored->toStringList();
    if (stored->typeId() != QMetaType::QVariantList)
        return {};
    QStringList strings;
    for (const QVariant& item : stored->toList()) {
        if (item.typeId() != QMetaType::QString)
            return {};
        strings.append(item.toString());
    }
    return strings;
}

std::optional<QByteArray> KeyValueStore::data(const QString& key) const
{
    const std::optional<QVariant> stored = value(key);
    if (!stored || stored->typeId() != QMetaType::QByteArray)
        return std::nullopt;
    return stored->toByteArray();
}

} // namespace lumivex
