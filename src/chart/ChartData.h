#pragma once

#include <QJsonObject>
#include <QString>

#include <array>
#include <atomic>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <vector>

namespace kovan {

// One bar. The field order open, close, low, high is the order of the history file and of
// every field index (see avgPrice); do not reorder. Five 4-byte fields: no padding.
struct ChartDataListRecord {
    qint32 dl = 0; // bar time, seconds since 1970-01-01 00:00 UTC
    float open = 0;
    float close = 0;
    float low = 0;
    float high = 0;

    bool operator==(const ChartDataListRecord&) const = default;
};
static_assert(sizeof(ChartDataListRecord) == 20, "a bar is 20 bytes on disk and in memory");

using ChartDataList = std::vector<ChartDataListRecord>;

// Bars shared copy-on-write. Copies share one array, so copying costs nothing per bar; a change
// through a copy whose array is shared gives that copy an array of its own first, and every
// other copy keeps the bars it had. A copy is thus a snapshot that nothing changes: the series
// hands one to its feed thread, which writes it to the history file while the window goes on
// (a change made while a snapshot is still alive copies the bars once). A change through the
// only holder happens in place.
//
// Threads: one object is used by one thread at a time; copies may live on other threads. The
// holder writes in place only when it finds itself alone, so a copy that went to another thread
// is dropped there before that thread next hands work to the holder's thread (the hand-over
// orders the drop before the write; the feed drops its snapshot before its next request).
class SharedChartDataList {
public:
    using value_type = ChartDataListRecord;
    using const_iterator = ChartDataList::const_iterator;
    using iterator = const_iterator; // read-only: changes go through edit()

    SharedChartDataList() = default;
    SharedChartDataList(ChartDataList bars)
        : m_bars(std::make_shared<ChartDataList>(std::move(bars))) {}
    SharedChartDataList(std::initializer_list<ChartDataListRecord> bars)
        : SharedChartDataList(ChartDataList(bars)) {}

    const ChartDataList& bars() const { return m_bars ? *m_bars : noBars(); }
    operator const ChartDataList&() const { return bars(); }
    bool empty() const { return bars().empty(); }
    size_t size() const { return bars().size(); }
    const ChartDataListRecord& operator[](size_t i) const { return bars()[i]; }
    const ChartDataListRecord& back() const { return bars().back(); }
    const_iterator begin() const { return bars().begin(); }
    const_iterator end() const { return bars().end(); }

    // The bars to change, this copy's own (copied first while another copy shares them).
    ChartDataList& edit();
    void push_back(const ChartDataListRecord& bar) { edit().push_back(bar); }
    void clear() { m_bars.reset(); } // other copies keep their bars
    // Whether the two share one array (a snapshot that cost no copy).
    bool sharesWith(const SharedChartDataList& other) const {
        return m_bars && m_bars == other.m_bars;
    }
    // No other copy shares the array: a change happens in place.
    bool alone() const { return !m_bars || m_bars.use_count() == 1; }

    friend bool operator==(const SharedChartDataList& a, const SharedChartDataList& b) {
        return a.bars() == b.bars();
    }
    friend bool operator==(const SharedChartDataList& a, const ChartDataList& b) {
        return a.bars() == b;
    }

private:
    static const ChartDataList& noBars();

    std::shared_ptr<ChartDataList> m_bars; // none: no bars
};

// The bar series of one chart window, held by PChartData (shared ownership): the window makes
// it (std::make_shared) and shares it with its renderer and its feed, so a feed thread that is
// still winding down after its window closed never reads a freed series. Nothing else keeps
// bar addresses: the array may move whenever bars are appended.
//
// Threads: `datalist`, `symbol` and `period` belong to the GUI thread (the feed hands each
// parsed reply to the GUI thread, which merges it there), so they are never read while being
// written. The feed thread gets the bars to save as a snapshot of `datalist` (a copy of the
// SharedChartDataList, not of the bars). `locked` is the one flag the feed thread reads
// itself, hence atomic.
struct ChartDataInfoRecord {
    static constexpr int maxCodeLength = 15; // room of the original 16-unit fields

    QString symbol; // at most 15 characters (longer codes are cut)
    QString period; // at most 15 characters
    std::atomic<bool> locked{false};
    SharedChartDataList datalist;

    void setSymbol(const QString& s) { symbol = s.left(maxCodeLength); }
    void setPeriod(const QString& p) { period = p.left(maxCodeLength); }
};
using PChartData = std::shared_ptr<ChartDataInfoRecord>;

// Raised by styleColor for anything that is not an empty text or six/seven hex digits.
class InvalidColorError : public std::runtime_error {
public:
    InvalidColorError() : std::runtime_error("Invalid Color string") {}
};

// "" → 0 (transparent black); "#rrggbb", "RRGGBB", "#rrggbbX" → 0xFFRRGGBB. Every "#" is
// dropped and case does not matter. Throws InvalidColorError otherwise.
quint32 styleColor(const QString& s);

// Style values may be JSON strings or numbers; these read a key of a style object.
quint32 styleColor(const QJsonObject& style, QStringView key);
int styleInt(const QJsonObject& style, QStringView key);

// Price fields by number, as the indicators name them.
enum PriceField { FieldClose = 0, FieldOpen = 1, FieldLow = 2, FieldHigh = 3 };

// Mean of one field over bars index, index-1, … (at most `count` bars, stopping at bar 0).
// Summed in double precision. 0 when no bar is taken; an unknown field adds nothing.
double avgPrice(const ChartDataList& series, int index, int count, int field);

// Bollinger bands (upper, middle, lower) at `index` over a window of `count` bars, k
// population standard deviations wide; (0, 0, 0) for an index outside the series.
using TMYDAr = std::array<double, 3>; // one bar's Bollinger values: upper, middle, lower
TMYDAr bandValues(const ChartDataList& series, int index, int k, int count);

} // namespace kovan
