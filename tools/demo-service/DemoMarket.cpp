#include "DemoMarket.h"

#include <algorithm>
#include <cmath>

namespace demo {

namespace {

constexpr std::int64_t kDay = 86400;
constexpr std::int64_t kEarliest = 631152000; // 1990-01-01 00:00 UTC

// Days since 1970-01-01 of a civil date, and back (proleptic Gregorian calendar).
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = unsigned(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + std::int64_t(doe) - 719468;
}

void civilFromDays(std::int64_t z, std::int64_t& y, unsigned& m) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = unsigned(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = std::int64_t(yoe) + era * 400 + (m <= 2);
}

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

std::int64_t fixedSeconds(const std::string& p) {
    static const std::map<std::string, std::int64_t> m{
        {"M1", 60},   {"M5", 300},   {"M15", 900}, {"M30", 1800},
        {"H1", 3600}, {"H4", 14400}, {"D1", kDay}, {"W1", 7 * kDay}};
    const auto it = m.find(p);
    return it == m.end() ? 0 : it->second;
}

// FNV-1a: the seed of a series, the same in every run.
std::uint32_t seedOf(const std::string& text) {
    std::uint32_t h = 2166136261u;
    for (const unsigned char c : text) {
        h ^= c;
        h *= 16777619u;
    }
    return h;
}

double roundTo(double v, double pip) {
    return std::round(v / pip) * pip;
}

} // namespace

DemoMarket::DemoMarket() : m_lastStep(std::chrono::steady_clock::now()) {
    m_symbols = {
        {"XAGRMB", "现货白银", 1, 0, 1, 5632},
        {"XAU", "黄金美元", 0.01, 2, 1, 2031.45},
        {"CADRMB", "现货铜", 10, 0, 1, 68420},
        {"NIDRMB", "现货镍", 10, 0, 1, 131250},
        {"AIDRMB", "现货铝", 5, 0, 1, 18965},
        {"EURUSD", "欧元美元", 0.00001, 5, 10, 1.08532},
        {"GBPUSD", "英镑美元", 0.00001, 5, 10, 1.26714},
        {"USDJPY", "美元日元", 0.001, 3, 10, 147.382},
        {"AUDUSD", "澳元美元", 0.00001, 5, 10, 0.65871},
        {"USDCHF", "美元瑞郎", 0.00001, 5, 10, 0.88143},
        {"USDCAD", "美元加元", 0.00001, 5, 10, 1.35926},
        {"NZDUSD", "纽元美元", 0.00001, 5, 10, 0.61457},
    };
}

std::vector<MarketSymbol> DemoMarket::symbols() const {
    std::lock_guard lock(m_mutex);
    return m_symbols;
}

void DemoMarket::step() {
    std::lock_guard lock(m_mutex);
    stepLocked();
}

void DemoMarket::stepLocked() {
    std::uniform_int_distribution<int> move(-3, 3);
    for (MarketSymbol& s : m_symbols) {
        if (std::uniform_int_distribution<int>(0, 9)(m_rng) < 3)
            continue; // not every symbol moves every second
        s.bid = std::max(s.minpip, roundTo(s.bid + move(m_rng) * s.minpip, s.minpip));
    }
    m_lastStep = std::chrono::steady_clock::now();
}

MarketSymbol* DemoMarket::find(const std::string& code) {
    for (MarketSymbol& s : m_symbols)
        if (s.code == code)
            return &s;
    return nullptr;
}

std::int64_t DemoMarket::slotStart(const std::string& period, std::int64_t t) {
    if (period == "MN") {
        std::int64_t y;
        unsigned m;
        civilFromDays(floorDiv(t, kDay), y, m);
        return daysFromCivil(y, m, 1) * kDay;
    }
    const std::int64_t len = fixedSeconds(period);
    if (len == 0)
        return -1;
    // 1970-01-01 was a Thursday: weeks count from Monday 1970-01-05.
    const std::int64_t origin = period == "W1" ? 4 * kDay : 0;
    return floorDiv(t - origin, len) * len + origin;
}

std::int64_t DemoMarket::nextSlot(const std::string& period, std::int64_t start) {
    if (period == "MN")
        return slotStart(period, start + 32 * kDay);
    return start + fixedSeconds(period);
}

std::int64_t DemoMarket::previousSlot(const std::string& period, std::int64_t start) {
    if (period == "MN")
        return slotStart(period, start - kDay);
    return start - fixedSeconds(period);
}

std::int64_t DemoMarket::nominalSeconds(const std::string& period) {
    return period == "MN" ? 30 * kDay : fixedSeconds(period);
}

DemoMarket::Series& DemoMarket::series(const MarketSymbol& s, const std::string& period,
                                       std::int64_t now) {
    const std::string key = s.code + "/" + period;
    auto it = m_series.find(key);
    if (it != m_series.end()) {
        roll(it->second, s, period, now);
        return it->second;
    }
    // A walk backwards from the bid: the newest bar closes at the bid, each bar opens where
    // the one before it closed.
    Series fresh;
    fresh.rng.seed(seedOf(key));
    const double sigma =
        std::max(s.minpip, s.bid * 0.0006 * std::sqrt(double(nominalSeconds(period)) / 3600.0));
    const double floorPrice = s.bid * 0.3;
    std::normal_distribution<double> move(0.0, sigma);
    std::vector<MarketBar> bars(kHistoryBars);
    std::int64_t t = slotStart(period, now);
    double close = s.bid;
    int first = kHistoryBars;
    for (int i = kHistoryBars - 1; i >= 0 && t >= kEarliest; --i) {
        first = i;
        MarketBar& b = bars[size_t(i)];
        b.t = t;
        b.c = close;
        double open = roundTo(close - move(fresh.rng), s.minpip);
        if (open < floorPrice)
            open = roundTo(close + std::fabs(move(fresh.rng)), s.minpip);
        b.o = open;
        b.h = roundTo(std::max(b.o, b.c) + std::fabs(move(fresh.rng)) * 0.5, s.minpip);
        b.l = std::max(s.minpip,
                       roundTo(std::min(b.o, b.c) - std::fabs(move(fresh.rng)) * 0.5, s.minpip));
        close = open;
        t = previousSlot(period, t);
    }
    // Monthly and weekly series begin in 1990 (bar times are positive 32-bit numbers).
    bars.erase(bars.begin(), bars.begin() + first);
    fresh.bars = std::move(bars);
    return m_series.emplace(key, std::move(fresh)).first->second;
}

void DemoMarket::roll(Series& series, const MarketSymbol& s, const std::string& period,
                      std::int64_t now) {
    const std::int64_t current = slotStart(period, now);
    const double sigma =
        std::max(s.minpip, s.bid * 0.0006 * std::sqrt(double(nominalSeconds(period)) / 3600.0));
    std::normal_distribution<double> move(0.0, sigma);
    while (series.bars.back().t < current) {
        const MarketBar& prev = series.bars.back();
        MarketBar b;
        b.t = nextSlot(period, prev.t);
        b.o = b.h = b.l = b.c = prev.c;
        if (b.t < current) { // a bar nobody watched: a walk of its own
            b.c = std::max(s.minpip, roundTo(b.o + move(series.rng), s.minpip));
            b.h = std::max(b.o, b.c);
            b.l = std::min(b.o, b.c);
        }
        series.bars.push_back(b);
    }
    // The newest bar follows the bid.
    MarketBar& last = series.bars.back();
    last.c = s.bid;
    last.h = std::max(last.h, s.bid);
    last.l = std::min(last.l, s.bid);
}

DemoMarket::Chart DemoMarket::chart(const std::string& symbol, const std::string& period,
                                    std::int64_t from, std::int64_t count, std::int64_t now) {
    std::lock_guard lock(m_mutex);
    Chart out;
    MarketSymbol* s = find(symbol);
    if (!s || slotStart(period, now) < 0)
        return out;
    if (std::chrono::steady_clock::now() - m_lastStep >= m_chartStep)
        stepLocked();
    const std::vector<MarketBar>& bars = series(*s, period, now).bars;
    constexpr std::int64_t kMost = 5000;
    if (from <= 0) {
        const std::int64_t n =
            std::min<std::int64_t>(count > 0 ? count : 1024, std::int64_t(bars.size()));
        out.bars.assign(bars.end() - n, bars.end());
    } else {
        auto it = std::lower_bound(bars.begin(), bars.end(), from,
                                   [](const MarketBar& b, std::int64_t t) { return b.t < t; });
        const std::int64_t most = count > 0 ? std::min(count, kMost) : kMost;
        for (; it != bars.end() && std::int64_t(out.bars.size()) < most; ++it)
            out.bars.push_back(*it);
    }
    out.ok = true;
    out.bid = s->bid;
    out.piplen = s->piplen;
    return out;
}

std::optional<DemoMarket::Pivots> DemoMarket::pivots(const std::string& symbol, std::int64_t now) {
    std::lock_guard lock(m_mutex);
    MarketSymbol* s = find(symbol);
    if (!s)
        return std::nullopt;
    const std::vector<MarketBar>& bars = series(*s, "D1", now).bars;
    const MarketBar& y = bars[bars.size() - 2]; // yesterday
    Pivots p;
    p.itime = bars.back().t;
    p.piplen = s->piplen;
    p.pp = (y.h + y.l + y.c) / 3;
    p.r1 = 2 * p.pp - y.l;
    p.s1 = 2 * p.pp - y.h;
    p.r2 = p.pp + (y.h - y.l);
    p.s2 = p.pp - (y.h - y.l);
    p.r3 = y.h + 2 * (p.pp - y.l);
    p.s3 = y.l - 2 * (y.h - p.pp);
    return p;
}

} // namespace demo
