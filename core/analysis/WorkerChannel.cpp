#include "core/analysis/WorkerChannel.h"

#include <QJsonDocument>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <poll.h>
#include <sys/socket.h>

namespace lumivex::WorkerChannel {

namespace {

// Far above any real message (an 8K picture is 33 MB of grey pixels), far below what would exhaust memory.
constexpr quint32 largestHeader = 64u << 20;
constexpr quint32 largestData = 1024u << 20;

bool sendAll(int socket, const char* bytes, qsizetype size)
{
    while (size > 0) {
        const ssize_t sent = ::send(socket, bytes, size_t(size), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0)
            return false;
        bytes += sent;
        size -= sent;
    }
    return true;
}

QByteArray lengthPrefix(quint32 length)
{
    QByteArray prefix(4, '\0');
    for (int i = 0; i < 4; ++i)
        prefix[i] = char((length >> (8 * i)) & 0xff);
    return prefix;
}

class Reader {
public:
    Reader(int socket, int timeoutMs)
        : m_socket(socket), m_timeoutMs(timeoutMs), m_deadline(std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs))
    {
    }

    bool read(char* into, qsizetype size)
    {
        while (size > 0) {
            if (!waitReadable())
                return false;
            const ssize_t got = ::recv(m_socket, into, size_t(size), 0);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                return false;
            into += got;
            size -= got;
        }
        return true;
    }

    std::optional<quint32> length()
    {
        unsigned char bytes[4];
        if (!read(reinterpret_cast<char*>(bytes), 4))
            return std::nullopt;
        return quint32(bytes[0]) | quint32(bytes[1]) << 8 | quint32(bytes[2]) << 16 | quint32(bytes[3]) << 24;
    }

private:
    bool waitReadable()
    {
        for (;;) {
            int wait = -1;
            if (m_timeoutMs >= 0) {
                const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(m_deadline - std::chrono::steady_clock::now());
                wait = int(std::max<qint64>(left.count(), 0));
            }
            pollfd descriptor{m_socket, POLLIN, 0};
            const int ready = ::poll(&descriptor, 1, wait);
            if (ready < 0 && errno == EINTR)
                continue;
            // POLLHUP with data still buffered reads on; recv reports the end.
            return ready > 0;
        }
    }

    int m_socket;
    int m_timeoutMs;
    std::chrono::steady_clock::time_point m_deadline;
};

} // namespace

bool send(int socket, const Message& message)
{
    const QByteArray header = QJsonDocument(message.header).toJson(QJsonDocument::Compact);
    return sendAll(socket, lengthPrefix(quint32(header.size())).constData(), 4)
        && sendAll(socket, header.constData(), header.size())
        && sendAll(socket, lengthPrefix(quint32(message.data.size())).constData(), 4)
        && sendAll(socket, message.data.constData(), message.data.size());
}

std::optional<Message> receive(int socket, int timeoutMs)
{
    Reader reader(socket, timeoutMs);
    const std::optional<quint32> headerLength = reader.length();
    if (!headerLength || *headerLength > largestHeader)
        return std::nullopt;
    QByteArray header(qsizetype(*headerLength), Qt::Uninitialized);
    if (!reader.read(header.data(), header.size()))
        return std::nullopt;
    const std::optional<quint32> dataLength = reader.length();
    if (!dataLength || *dataLength > largestData)
        return std::nullopt;
    Message message;
    message.data = QByteArray(qsizetype(*dataLength), Qt::Uninitialized);
    if (!reader.read(message.data.data(), message.data.size()))
        return std::nullopt;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(header, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    message.header = document.object();
    return message;
}

QJsonArray toJson(const std::vector<TextRecognizer::Candidate>& candidates)
{
    QJsonArray list;
    for (const TextRecognizer::Candidate& c : candidates) {
        list.append(QJsonObject{{QStringLiteral("text"), c.text},
                                {QStringLiteral("x"), c.rect.x},
                                {QStringLiteral("y"), c.rect.y},
                                {QStringLiteral("width"), c.rect.width},
                                {QStringLiteral("height"), c.rect.height},
                                {QStringLiteral("confidence"), double(c.confidence)}});
    }
    return list;
}

std::optional<std::vector<TextRecognizer::Candidate>> candidatesFromJson(const QJsonValue& value)
{
    if (!value.isArray())
        return std::nullopt;
    std::vector<TextRecognizer::Candidate> candidates;
    for (const QJsonValue& item : value.toArray()) {
        const QJsonObject o = item.toObject();
        const QJsonValue text = o.value(QStringLiteral("text"));
        double numbers[5];
        int i = 0;
        for (const char* key : {"x", "y", "width", "height", "confidence"}) {
            const QJsonValue number = o.value(QLatin1String(key));
            if (!number.isDouble() || !std::isfinite(number.toDouble()))
                return std::nullopt;
            numbers[i++] = number.toDouble();
        }
        if (!text.isString())
            return std::nullopt;
        candidates.push_back({text.toString(), Rect(numbers[0], numbers[1], numbers[2], numbers[3]), float(numbers[4])});
    }
    return candidates;
}

} // namespace lumivex::WorkerChannel
