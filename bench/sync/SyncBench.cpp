#include "alerts/AlertQuoteWatcher.h"
#include "alerts/PriceAlertBook.h"
#include "core/ProgramState.h"
#include "net/SyncReplyProcessor.h"

#include <QJsonDocument>

#include <benchmark/benchmark.h>

using namespace kovan;

namespace {

constexpr int kSymbols = 200;
constexpr int kNews = 20;

// A reply as the data server sends it; `variant` shifts every bid, so that feeding variants
// 0 and 1 alternately changes all bids every time. `renamed` changes every display name, so
// that the symbol table is rebuilt.
QByteArray makeReply(int variant, int symbols = kSymbols, bool renamed = false) {
    QByteArray info, rates, rdnt;
    for (int i = 0; i < symbols; ++i) {
        const QByteArray code = "SYM" + QByteArray::number(i);
        if (i) {
            info += ',';
            rates += ',';
        }
        info += '"' + code + "\":{\"showname\":\"" + (renamed ? "新" : "") + "现货品种" +
                QByteArray::number(i) + "\",\"minpip\":0.01,\"piplen\":2,\"basepip\":1}";
        rates += "{\"S\":\"" + code + "\",\"B\":\"" +
                 QByteArray::number(1000.0 + i + variant * 0.01, 'f', 2) + "\"}";
    }
    for (int i = 0; i < kNews; ++i) {
        if (i)
            rdnt += ',';
        rdnt += "{\"id\":" + QByteArray::number(5000 + i) + ",\"title\":\"财经快讯第" +
                QByteArray::number(i) +
                "条：美元指数走强\",\"impant\":" + QByteArray::number(1 + i % 3) + "}";
    }
    return "{\"status\":1,\"sessid\":\"bench-session\",\"symbolinfo\":{" + info +
           "},\"LUDsign\":1,\"LUDarts\":2,\"LUDplan\":3,\"LUDmkts\":4,\"ratecount\":" +
           QByteArray::number(symbols) + ",\"rate\":[" + rates +
           "],\"rdntcount\":" + QByteArray::number(kNews) + ",\"rdnt\":[" + rdnt + "]}";
}

void BM_ParseOnly(benchmark::State& state) {
    const QByteArray reply = makeReply(0);
    for (auto _ : state) {
        QJsonDocument doc = QJsonDocument::fromJson(reply);
        benchmark::DoNotOptimize(doc);
    }
    state.SetBytesProcessed(state.iterations() * reply.size());
}
BENCHMARK(BM_ParseOnly);

// The whole processing from UTF-8 bytes: parse, symbol check, session, stamps, 200 bid
// changes under the table lock, 20 news items checked against the news list.
void BM_ProcessReply(benchmark::State& state) {
    const QByteArray replies[2] = {makeReply(0), makeReply(1)};
    SessionState session;
    session.setSessid(QStringLiteral("bench-session"));
    SharedSyncTables tables(SyncTables::initial());
    NewsList news;
    SyncReplyProcessor processor(session, tables, news);
    const SyncReplyProcessor::Hooks hooks;
    processor.processUtf8(replies[1], hooks, 0); // symbols and news in place
    int i = 0;
    for (auto _ : state) {
        auto outcome = processor.processUtf8(replies[i ^= 1], hooks, 0);
        benchmark::DoNotOptimize(outcome);
    }
    state.SetBytesProcessed(state.iterations() * replies[0].size());
}
BENCHMARK(BM_ProcessReply);

// 500 price alerts over the 200 symbols (two or three each). Not `crossing`: far above every
// bid, none is reached (the usual case). `crossing`: repeating alerts between the two bids of
// each symbol, so that every reply triggers or arms again each of them.
void addAlerts(PriceAlertBook& book, bool crossing) {
    std::vector<PriceAlert> alerts;
    for (int i = 0; i < 500; ++i) {
        PriceAlert a;
        const int symbol = i % kSymbols;
        a.symbol = QStringLiteral("SYM%1").arg(symbol);
        a.price = crossing ? 1000.0 + symbol + 0.005 : 100000.0 + i;
        a.repeat = crossing;
        alerts.push_back(a);
    }
    book.replaceAll(alerts);
}

// BM_ProcessReply with the price alerts' check on every reply, as the worker runs it (the step
// it hands on is dropped here). Argument 0: no alert reached; 1: every alert crossing.
void BM_ProcessReplyWithAlerts(benchmark::State& state) {
    const QByteArray replies[2] = {makeReply(0), makeReply(1)};
    SessionState session;
    session.setSessid(QStringLiteral("bench-session"));
    SharedSyncTables tables(SyncTables::initial());
    NewsList news;
    PriceAlertBook book;
    addAlerts(book, state.range(0) != 0);
    AlertQuoteWatcher watcher(book, [](AlertCheck check) { benchmark::DoNotOptimize(check); });
    SyncReplyProcessor processor(session, tables, news);
    SyncReplyProcessor::Hooks hooks;
    hooks.quotesApplied = [&watcher](const std::vector<RateQuote>& rates,
                                     const QJsonObject& symbols) {
        watcher.quotesUpdated(rates, symbols);
    };
    processor.processUtf8(replies[1], hooks, 0);
    int i = 0;
    for (auto _ : state) {
        auto outcome = processor.processUtf8(replies[i ^= 1], hooks, 0);
        benchmark::DoNotOptimize(outcome);
    }
    state.SetBytesProcessed(state.iterations() * replies[0].size());
}
BENCHMARK(BM_ProcessReplyWithAlerts)->Arg(0)->Arg(1);

// The price alerts' check alone, on the rates and the symbol table of the two replies in turn
// (500 alerts over 200 symbols, none reached).
void BM_AlertCheckOnly(benchmark::State& state) {
    PriceAlertBook book;
    addAlerts(book, false);
    AlertQuoteWatcher watcher(book, [](AlertCheck check) { benchmark::DoNotOptimize(check); });
    std::vector<RateQuote> rates[2];
    QJsonObject symbols;
    for (int v = 0; v < 2; ++v) {
        const QJsonObject reply = QJsonDocument::fromJson(makeReply(v)).object();
        NameValueList quotes;
        SyncReplyProcessor::applyRates(quotes, reply.value(u"rate").toArray(), &rates[v]);
        symbols = reply.value(u"symbolinfo").toObject();
    }
    int i = 0;
    for (auto _ : state)
        watcher.quotesUpdated(rates[i ^= 1], symbols);
}
BENCHMARK(BM_AlertCheckOnly);

// As the worker does it: from the decoded reply text (UTF-16 back to UTF-8 first).
void BM_ProcessReplyText(benchmark::State& state) {
    const QString replies[2] = {QString::fromUtf8(makeReply(0)), QString::fromUtf8(makeReply(1))};
    SessionState session;
    session.setSessid(QStringLiteral("bench-session"));
    SharedSyncTables tables(SyncTables::initial());
    NewsList news;
    SyncReplyProcessor processor(session, tables, news);
    const SyncReplyProcessor::Hooks hooks;
    processor.process(replies[1], hooks, 0);
    int i = 0;
    for (auto _ : state) {
        auto outcome = processor.process(replies[i ^= 1], hooks, 0);
        benchmark::DoNotOptimize(outcome);
    }
}
BENCHMARK(BM_ProcessReplyText);

// A hardened case: a reply with 20,000 symbols, every bid changed.
void BM_ProcessLargeReply(benchmark::State& state) {
    const int symbols = int(state.range(0));
    const QByteArray replies[2] = {makeReply(0, symbols), makeReply(1, symbols)};
    SessionState session;
    session.setSessid(QStringLiteral("bench-session"));
    SharedSyncTables tables(SyncTables::initial());
    NewsList news;
    SyncReplyProcessor processor(session, tables, news);
    const SyncReplyProcessor::Hooks hooks;
    processor.processUtf8(replies[1], hooks, 0);
    int i = 0;
    for (auto _ : state) {
        auto outcome = processor.processUtf8(replies[i ^= 1], hooks, 0);
        benchmark::DoNotOptimize(outcome);
    }
}
BENCHMARK(BM_ProcessLargeReply)->Arg(20000)->Unit(benchmark::kMillisecond);

// The symbol table rebuilt on every reply: the display names change each time.
void BM_SymbolRebuild(benchmark::State& state) {
    const int symbols = int(state.range(0));
    const QByteArray replies[2] = {makeReply(0, symbols, false), makeReply(0, symbols, true)};
    SessionState session;
    session.setSessid(QStringLiteral("bench-session"));
    SharedSyncTables tables(SyncTables::initial());
    NewsList news;
    SyncReplyProcessor processor(session, tables, news);
    const SyncReplyProcessor::Hooks hooks;
    int i = 0;
    for (auto _ : state) {
        auto outcome = processor.processUtf8(replies[i ^= 1], hooks, 0);
        benchmark::DoNotOptimize(outcome);
    }
}
BENCHMARK(BM_SymbolRebuild)->Arg(200)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
