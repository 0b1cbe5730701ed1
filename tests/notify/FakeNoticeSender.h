#pragma once

#include "notify/NoticeSender.h"

#include <QList>

#include <functional>

namespace kovan::test {

// A notification service in memory: keeps what is sent, answers each send with the next id
// when the test says so (answerAll), and plays the server's signals on request.
class FakeNoticeSender : public NoticeSender {
public:
    void setEvents(Events events) override { m_events = std::move(events); }
    void send(const DesktopNotice& notice, std::function<void(uint id)> sent) override {
        sentNotices.append(notice);
        m_waiting.append(std::move(sent));
    }
    // The server's replies to every send so far, ids firstId, firstId + 1, …
    void answerAll() {
        for (auto& sent : m_waiting)
            if (sent)
                sent(m_nextId++);
        m_waiting.clear();
    }
    void invoke(uint id, const QString& key) {
        if (m_events.actionInvoked)
            m_events.actionInvoked(id, key);
    }
    void close(uint id) {
        if (m_events.closed)
            m_events.closed(id);
    }
    bool eventsSet() const { return bool(m_events.actionInvoked) && bool(m_events.closed); }

    QList<DesktopNotice> sentNotices;
    uint firstId() const { return kFirstId; }

private:
    static constexpr uint kFirstId = 41;
    Events m_events;
    QList<std::function<void(uint)>> m_waiting;
    uint m_nextId = kFirstId;
};

} // namespace kovan::test
