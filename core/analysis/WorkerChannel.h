#pragma once

#include "core/analysis/TextRecognizer.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>

#include <optional>
#include <vector>

namespace lumivex {

// The messages between the application and its text-recognition worker over a stream socket. Each message is a
// JSON header and a block of bytes (the picture's pixels in a request), each preceded by its length as a 32-bit
// little-endian number. Both ends use it, so the worker never trusts the application's lengths blindly or the
// other way round.
namespace WorkerChannel {

struct Message {
    QJsonObject header;
    QByteArray data;
};

// False when the other end is gone (no SIGPIPE is raised).
bool send(int socket, const Message& message);
// The next message, or nothing when the other end closed, the stream is garbled or `timeoutMs` passed (-1 waits
// for ever).
std::optional<Message> receive(int socket, int timeoutMs);

QJsonArray toJson(const std::vector<TextRecognizer::Candidate>& candidates);
// Nothing when the array holds anything but well-formed candidates.
std::optional<std::vector<TextRecognizer::Candidate>> candidatesFromJson(const QJsonValue& value);

} // namespace WorkerChannel

} // namespace lumivex
