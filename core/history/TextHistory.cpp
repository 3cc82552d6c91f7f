#include "core/history/TextHistory.h"

#include "core/settings/KeyValueStore.h"
#include "core/settings/SettingsFileStore.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimeZone>

#include <algorithm>
#include <cmath>

namespace lumivex {

namespace {

// Dates are stored as seconds since the first instant of 2001 in UTC, the reference date of the stored layout.
const QDateTime& referenceDate()
{
    static const QDateTime reference(QDate(2001, 1, 1), QTime(0, 0), QTimeZone::utc());
    return reference;
}

double secondsSinceReference(const QDateTime& date)
{
    return double(referenceDate().msecsTo(date)) / 1000.0;
}

std::optional<QDateTime> dateAfterReference(const QJsonValue& value)
{
    if (!value.isDouble() || !std::isfinite(value.toDouble()))
        return std::nullopt;
    const double milliseconds = std::round(value.toDouble() * 1000.0);
    // QDateTime covers about ±292 million years; anything further out is damage, not a date.
    if (std::abs(milliseconds) > 9e15)
        return std::nullopt;
    return referenceDate().addMSecs(qint64(milliseconds));
}

bool isBlank(const QString& text) { return text.trimmed().isEmpty(); }

} // namespace

TextHistory::TextHistory(KeyValueStore& store, QObject* parent) : QObject(parent), m_store(store)
{
    if (const std::optional<QByteArray> data = m_store.data(storeKey))
        m_entries = decode(*data).value_or(std::vector<Entry>{});
}

TextHistory& TextHistory::shared()
{
    static TextHistory history(SettingsFileStore::standard());
    return history;
}

std::optional<TextHistory::Entry> TextHistory::record(const QString& text, const std::optional<QUuid>& replacing,
                                                      const QDateTime& now)
{
    if (isBlank(text))
        return std::nullopt;
    QUuid id;
    if (replacing) {
        id = *replacing;
    } else {
        const auto same = std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry& e) { return e.text == text; });
        id = same != m_entries.end() ? same->id : QUuid::createUuid();
    }
    const Entry entry{id, text, now};
    std::vector<Entry> entries{entry};
    for (const Entry& old : m_entries) {
        if (old.id != id && old.text != text)
            entries.push_back(old);
    }
    if (entries.size() > std::size_t(limit))
        entries.resize(limit);
    publish(std::move(entries));
    return entry;
}

void TextHistory::remove(const QUuid& id)
{
    std::vector<Entry> entries = m_entries;
    std::erase_if(entries, [&](const Entry& e) { return e.id == id; });
    publish(std::move(entries));
}

void TextHistory::clear() { publish({}); }

void TextHistory::publish(std::vector<Entry> entries)
{
    m_entries = std::move(entries);
    Q_EMIT entriesChanged();
    if (m_entries.empty())
        m_store.remove(storeKey);
    else
        m_store.setData(storeKey, encode(m_entries));
}

QByteArray TextHistory::encode(const std::vector<Entry>& entries)
{
    QJsonArray list;
    for (const Entry& entry : entries) {
        list.append(QJsonObject{{QStringLiteral("id"), entry.id.toString(QUuid::WithoutBraces).toUpper()},
                                {QStringLiteral("text"), entry.text},
                                {QStringLiteral("date"), secondsSinceReference(entry.date)}});
    }
    return QJsonDocument(list).toJson(QJsonDocument::Compact);
}

std::optional<std::vector<TextHistory::Entry>> TextHistory::decode(const QByteArray& data)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(data, &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        return std::nullopt;
    std::vector<Entry> entries;
    for (const QJsonValue& value : document.array()) {
        const QJsonObject object = value.toObject();
        const QJsonValue id = object.value(QStringLiteral("id"));
        const QJsonValue text = object.value(QStringLiteral("text"));
        const std::optional<QDateTime> date = dateAfterReference(object.value(QStringLiteral("date")));
        // A UUID's text form is exactly 36 characters; QUuid would also take braces and other forms.
        const QUuid uuid = id.isString() && id.toString().size() == 36 ? QUuid::fromString(id.toString()) : QUuid();
        if (!value.isObject() || uuid.isNull() || !text.isString() || !date)
            return std::nullopt;
        entries.push_back({uuid, text.toString(), *date});
    }
    return entries;
}

} // namespace lumivex
