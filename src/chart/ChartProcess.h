#pragma once

#include "chart/ChartData.h"
#include "chart/ChartReply.h"
#include "net/PollingWorker.h"

#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

namespace kovan {

class GuiRelay;
struct HttpReply;

// Pacing and time-outs of a chart feed, in milliseconds. Tests shorten them.
struct ChartFeedTiming {
    int pollMs = 300;   // pause after each request
    int lockedMs = 100; // pause while the series is locked
    int connectTimeoutMs = 60000;
    int readTimeoutMs = 60000;
};

// What a feed polls: the data server's root ("http://host:port"), the codes, and the time of
// the series' last bar (none while the series is empty).
struct ChartFeedTarget {
    QString root;
    QString symbol;
    QString period;
    std::optional<qint32> lastDl;
};

// What the GUI thread made of one reply (see ChartProcess::MergeStep).
struct ChartMergeOutcome {
    bool merged = false; // the reply matched the series and went into it
    // Bars were appended: the feed writes `bars` (the whole series) to `historyPath`.
    bool save = false;
    QString historyPath;
    // A snapshot of the series' bars after the merge, sharing them rather than copying. The
    // feed drops it before its next request, so the next merge appends in place.
    SharedChartDataList bars;
};

// The feed of one chart window: polls the data server for the bars of one symbol and period
// and hands every usable reply to the window.
//
// Loop, while isRun holds: while the series is locked, pause lockedMs and acknowledge
// (UPDAED), making no request; otherwise clear UPDAED, GET the initial or incremental address
// (chartRequestUrl), hand a reply with status 1 and count > 0 to the GUI thread, write the
// history file when the window says bars were appended, pause pollMs. A failed request (no
// connection, time-out, HTTP error) or a history file that cannot be written ends the feed
// (endedByError); its window replaces it.
//
// Threads. The series and the chart belong to the GUI thread: the feed never reads or writes
// the series' bars; it writes the snapshot that the merge hands back. It parses the reply on its
// own thread, then runs `merge` on the GUI thread through the relay and waits for it, so merge and
// drawing never overlap and the next request already knows the merged last bar. Only the series'
// `locked` flag is read here (atomic). A reply whose bytes equal the last merged reply of the
// same address is neither parsed nor handed over again: it would change nothing, and the GUI
// thread stays asleep. A plain-ASCII body is parsed from its bytes (no text in between).
//
// setTarget / setLastBar / stopFeed: any thread (the window calls them on the GUI thread).
// The history file is written on this thread; its path lock keeps two feeds of one pair from
// writing at once (HistoryFile). Constructed and started on the GUI thread by its runner
// (ChartFeedRunner); freed by the worker table once its termination handler ran (WorkerThread).
// The client, the start delay, the loop and its sleep are PollingWorker's.
class ChartProcess : public SelfFreeingWorker<ChartProcess, PollingWorker> {
    Q_OBJECT
public:
    // Runs on the GUI thread with the reply and the codes it was requested for.
    using MergeStep = std::function<ChartMergeOutcome(
        ChartProcess* feed, const ChartReply& reply, const QString& symbol, const QString& period)>;

    // `relay` lives on the GUI thread; the feed keeps a share of it, so a window that goes
    // first leaves it a shut-down relay, never a dangling one. `startDelayMs` holds back the
    // first request (a replacement after a failure).
    ChartProcess(const ChartFeedTarget& target, PChartData record, std::shared_ptr<GuiRelay> relay,
                 MergeStep merge, const ChartFeedTiming& timing, int startDelayMs,
                 QObject* parent = nullptr);
    ~ChartProcess() override;

    // The period switch: the next request asks for `period` from `lastDl`.
    void setTarget(const QString& period, std::optional<qint32> lastDl);
    // After a merge: the next request goes on from `lastDl`.
    void setLastBar(std::optional<qint32> lastDl);
    ChartFeedTarget target() const;

    // Clears isRun and cancels the request in flight: the feed ends soon, without error.
    void stopFeed();
    bool isRun() const { return m_isRun.load(std::memory_order_acquire); }
    // Acknowledgement: set while the feed sees the series locked, cleared before each request.
    bool UPDAED() const { return m_UPDAED.load(std::memory_order_acquire); }
    bool endedByError() const { return m_endedByError.load(std::memory_order_acquire); }
    // The last reply text and why the feed ended (empty when it did not fail).
    QString resStr() const;
    QString errorText() const;

protected:
    bool keepPolling() const override { return isRun(); }
    // The locked pause, or one request with its hand-over and history write, then pollMs.
    std::optional<int> runCycle(HttpClient& client) override;
    // stopFeed() ends a pause as soon as isRun is cleared.
    bool sleepCutShort() const override { return !isRun(); }

private:
    // One request's address, period and period switch, taken together under m_mutex.
    struct Request {
        QString url;
        QString period;
        int generation = 0;
    };
    Request nextRequest() const;
    // Hands a usable reply to the GUI thread and writes the history file when told; false
    // ends the feed (the window has gone, or the file could not be written).
    bool handOver(const Request& request, const HttpReply& reply, const ChartReply& parsed);
    bool saveHistory(const ChartMergeOutcome& outcome, const QString& period);
    void fail(const QString& why);

    const QString m_root;
    const QString m_symbol;
    PChartData m_CData;
    std::shared_ptr<GuiRelay> m_relay;
    MergeStep m_merge;
    const ChartFeedTiming m_timing;

    std::atomic<bool> m_isRun{true};
    std::atomic<bool> m_UPDAED{false};
    std::atomic<bool> m_endedByError{false};
    std::atomic<int> m_generation{0}; // moves on with every setTarget

    // The last reply the window merged, by address and period switch: the same text again
    // would change nothing. Worker thread only.
    QString m_mergedUrl;
    QByteArray m_mergedBody;
    QByteArray m_mergedType;
    int m_mergedGeneration = -1;
    bool m_replied = false; // a usable reply arrived (traced once)

    mutable std::mutex m_mutex; // guards the fields below
    QString m_period;
    std::optional<qint32> m_lastDl;
    QByteArray m_resBody; // the last reply as it came, and its Content-Type
    QByteArray m_resType;
    QString m_error;
};

} // namespace kovan
