#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace demo {

// One instrument of the demo: code, display data and its moving bid.
struct MarketSymbol {
    std::string code;
    std::string showname;
    double minpip = 1; // smallest price step
    int piplen = 0;    // digits after the decimal point
    int basepip = 1;
    double bid = 0;
};

// One bar: start time (seconds since 1970 UTC), open, high, low, close.
struct MarketBar {
    std::int64_t t = 0;
    double o = 0, h = 0, l = 0, c = 0;
};

// The demo's market, shared by the data server (sync rates, chart bars) and the page server
// (the chart panel's pivot levels). Every symbol's bid is a random walk; each chart series
// (symbol and period) is a seeded random walk that ends at the bid, and its last bar follows
// the bid as it moves, so the rates ticker, every chart and its BID agree. Thread-safe (the
// servers run their handlers on thread pools).
class DemoMarket {
public:
    DemoMarket();

    // A chart request moves the bids first when this long has passed since their last step
    // (1 s unless set; 0: every chart request, for measuring charts whose last bar keeps moving).
    void setChartStepMs(int ms) {
        std::lock_guard lock(m_mutex);
        m_chartStep = std::chrono::milliseconds(ms);
    }

    std::vector<MarketSymbol> symbols() const;
    // One step of every bid's walk (the sync feed takes one per poll).
    void step();

    struct Chart {
        bool ok = false; // known symbol and period
        std::vector<MarketBar> bars;
        double bid = 0;
        int piplen = 0;
    };
    // /chart/SYM/PERIOD/FROM/COUNT at time `now`: FROM 0 gives the last COUNT bars; FROM > 0
    // the bars from that time on (the bar at FROM included, so its updates arrive), at most
    // COUNT when COUNT > 0. Moves the bids when nobody polled them for a second.
    Chart chart(const std::string& symbol, const std::string& period, std::int64_t from,
                std::int64_t count, std::int64_t now);

    // Classic floor pivots from the previous day's bar (D1), applying from the start of the
    // current day. None for an unknown symbol.
    struct Pivots {
        std::int64_t itime = 0;
        double pp = 0, r1 = 0, r2 = 0, r3 = 0, s1 = 0, s2 = 0, s3 = 0;
        int piplen = 0;
    };
    std::optional<Pivots> pivots(const std::string& symbol, std::int64_t now);

    // Periods M1 M5 M15 M30 H1 H4 D1 W1 MN: the start of the bar holding time t (weeks start
    // on Monday, months on the 1st, UTC); -1 for an unknown period.
    static std::int64_t slotStart(const std::string& period, std::int64_t t);
    static std::int64_t nextSlot(const std::string& period, std::int64_t start);
    static std::int64_t previousSlot(const std::string& period, std::int64_t start);
    static std::int64_t nominalSeconds(const std::string& period); // 30 days for MN

    // Bars of a new series: 1100, or fewer for long periods, which begin in 1990.
    static constexpr int kHistoryBars = 1100;

private:
    struct Series {
        std::mt19937 rng;
        std::vector<MarketBar> bars;
    };
    Series& series(const MarketSymbol& s, const std::string& period, std::int64_t now);
    void roll(Series& series, const MarketSymbol& s, const std::string& period, std::int64_t now);
    MarketSymbol* find(const std::string& code);
    void stepLocked();

    mutable std::mutex m_mutex;
    std::mt19937 m_rng{20261209};
    std::vector<MarketSymbol> m_symbols;
    std::map<std::string, Series> m_series; // "SYM/PERIOD"
    std::chrono::steady_clock::time_point m_lastStep;
    std::chrono::milliseconds m_chartStep{1000};
};

} // namespace demo
