#pragma once

#include <QByteArray>

#include <optional>

namespace kovan {

// What a second start asks of the client that runs for its folder, one line on the channel:
//   "raise <startup-id>\n"  the main window to the front (the id may be empty: "raise\n")
//   "quit\n"                the exit procedure (kovan --quit)
//   "hello\n"               nothing: a start at login only checks that a client runs
// The running client answers "ok\n" once it has taken the request. Any thread.
struct HandOverRequest {
    enum class Kind { Raise, Quit, Hello };

    Kind kind = Kind::Raise;
    // The desktop's start-up notification id of the second start (DESKTOP_STARTUP_ID), for
    // Raise. Printable ASCII without spaces; anything else is dropped.
    QByteArray startupId;

    static constexpr auto kReply = "ok\n";
    // The longest line either side accepts, the line end included.
    static constexpr int kMaxLine = 512;

    QByteArray line() const;
    // A line as read (its line end may be there or not); nullopt for anything else.
    static std::optional<HandOverRequest> parse(const QByteArray& line);
    // `id` when it may travel on the channel, else the empty text.
    static QByteArray usableStartupId(const QByteArray& id);
};

} // namespace kovan
