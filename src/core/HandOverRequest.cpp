#include "core/HandOverRequest.h"

namespace kovan {

QByteArray HandOverRequest::usableStartupId(const QByteArray& id) {
    if (id.size() > kMaxLine - 16)
        return {};
    for (const char c : id) {
        if (c <= ' ' || c > '~')
            return {};
    }
    return id;
}

QByteArray HandOverRequest::line() const {
    switch (kind) {
    case Kind::Quit:
        return "quit\n";
    case Kind::Hello:
        return "hello\n";
    case Kind::Raise:
        break;
    }
    const QByteArray id = usableStartupId(startupId);
    return id.isEmpty() ? QByteArray("raise\n") : "raise " + id + '\n';
}

std::optional<HandOverRequest> HandOverRequest::parse(const QByteArray& line) {
    QByteArray text = line;
    if (text.endsWith('\n'))
        text.chop(1);
    if (text == "quit")
        return HandOverRequest{Kind::Quit, {}};
    if (text == "hello")
        return HandOverRequest{Kind::Hello, {}};
    if (text == "raise")
        return HandOverRequest{Kind::Raise, {}};
    if (!text.startsWith("raise "))
        return std::nullopt;
    const QByteArray id = text.mid(6);
    if (id.isEmpty() || usableStartupId(id) != id)
        return std::nullopt;
    return HandOverRequest{Kind::Raise, id};
}

} // namespace kovan
