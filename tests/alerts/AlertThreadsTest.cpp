// The book under its two users at once: the sync worker checks replies while the GUI thread
// adds, edits, enables and removes alerts (also run under ThreadSanitizer).

#include "AlertTestSupport.h"

#include "alerts/AlertQuoteWatcher.h"
#include "alerts/PriceAlertBook.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace kovan;
using namespace kovan::alerttest;

namespace {

TEST(AlertThreads, TheWorkerChecksWhileTheGuiThreadEdits) {
    PriceAlertBook book;
    std::atomic<int> steps{0};
    std::atomic<int> triggers{0};
    AlertQuoteWatcher watcher(book, [&](AlertCheck c) {
        steps.fetch_add(1);
        triggers.fetch_add(int(c.triggers.size()));
    });
    const QJsonObject symbols = symbolTable();
    const std::vector<RateQuote> up =
        rates(R"([{"S":"XAU","B":"2100"},{"S":"XAGRMB","B":"6000"}])");
    const std::vector<RateQuote> down =
        rates(R"([{"S":"XAU","B":"1900"},{"S":"XAGRMB","B":"4000"}])");
    std::atomic<bool> stop{false};
    std::atomic<int> replies{0};
    std::thread worker([&] {
        for (int i = 0; !stop.load(); ++i) {
            watcher.quotesUpdated(i % 2 ? up : down, symbols);
            replies.fetch_add(1);
        }
    });
    for (int i = 0; i < 2000; ++i) {
        qint64 id = 0;
        book.add(alert(i % 2 ? "XAU" : "XAGRMB", i % 2 ? 2000 : 5000, Rise, i % 3 == 0), &id);
        if (std::optional<PriceAlert> a = book.find(id); a && i % 5 == 0) {
            a->price += 1;
            book.update(*a);
        }
        book.setEnabled(id, i % 7 != 0);
        if (book.size() > 100)
            book.remove(book.alerts().front().id);
        (void)book.watchList()->size();
    }
    // A few replies over what is left (repeating alerts among it trigger and arm again).
    const int seen = replies.load();
    while (replies.load() < seen + 4)
        std::this_thread::yield();
    stop.store(true);
    worker.join();
    EXPECT_GT(steps.load(), 0);
    EXPECT_GT(triggers.load(), 0);
    EXPECT_LE(book.size(), 101);
}

} // namespace
