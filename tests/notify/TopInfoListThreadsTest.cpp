// topInfoList shared by its three users at once: the sync worker appending news from replies,
// the page command addfloatmsg appending items, and the news ticker reading and sweeping. Run
// under ThreadSanitizer by scripts/test-sanitizers; here it checks that no item is lost or
// doubled and that the sweep only ever removes expired items.

#include "net/SyncReplyProcessor.h"
#include "notify/NewsAnimate.h"
#include "notify/NoticeList.h"
#include "notify/NotifyCommands.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>
#include <utility>

namespace kovan {
namespace {

class NullView : public NewsAnimate::View {
public:
    void setInfos(int, int, const QString&) override { ++fills; }
    void ampos(int, int) override {}
    int fills = 0;
};

QByteArray syncReply(int firstId, int count) {
    QJsonArray rdnt;
    for (int i = 0; i < count; ++i)
        rdnt.append(QJsonObject{{"id", firstId + i},
                                {"title", QStringLiteral("news %1").arg(firstId + i)},
                                {"impant", 1 + (firstId + i) % 3}});
    return QJsonDocument(QJsonObject{{"status", 1},
                                     {"sessid", "S"},
                                     {"symbolinfo", QJsonObject()},
                                     {"rdntcount", count},
                                     {"rdnt", rdnt}})
        .toJson(QJsonDocument::Compact);
}

TEST(TopInfoListThreads, SyncWorkerPageCommandAndTickerShareTheList) {
    SessionState session;
    SharedSyncTables tables;
    NewsList topInfoList;
    constexpr int kRounds = 300;
    constexpr qint64 kStart = 1'000'000;
    std::atomic<qint64> clock{kStart};
    std::atomic<bool> done{false};

    // The sync worker: each reply repeats the previous ids (duplicates must be skipped) and
    // brings two new ones; items expire an hour after they were added.
    std::thread sync([&] {
        SyncReplyProcessor processor(session, tables, topInfoList);
        for (int r = 0; r < kRounds; ++r)
            processor.processUtf8(syncReply(2 * r - 2 < 0 ? 0 : 2 * r - 2, r == 0 ? 2 : 4), {},
                                  clock.load());
    });

    // The page command: items that never expire, each id twice.
    std::thread page([&] {
        NoticeList notices;
        QJsonObject signals;
        NotifyCommands commands({&notices, {}, {}, {}, &topInfoList, &signals, {}});
        for (int r = 0; r < kRounds; ++r) {
            const QString p =
                QStringLiteral(R"({"id":%1,"title":"page %1","type":"newtips","impant":3})").arg(r);
            commands.addfloatmsg(p);
            commands.addfloatmsg(p);
        }
    });

    // The ticker: steps as fast as it can while the clock moves on, so that sync items expire
    // while the others append.
    NullView view;
    std::thread ticker([&] {
        NewsAnimate animate(topInfoList, view, [&] { return clock.load(); });
        while (!done.load()) {
            animate.tick();
            clock.fetch_add(20);
        }
        animate.tick();
    });

    sync.join();
    page.join();
    done.store(true);
    ticker.join();

    const QList<topInfoRuntimeRecord> list = topInfoList.snapshot();
    std::set<std::pair<qint32, QString>> seen;
    int pageItems = 0;
    const qint64 end = clock.load();
    for (const topInfoRuntimeRecord& r : list) {
        EXPECT_TRUE(seen.insert({r.evID, r.evType}).second)
            << "doubled " << r.evID << " " << r.evType.toStdString();
        if (r.evType == u"newtips") {
            ++pageItems;
            EXPECT_EQ(r.expired, 0);
        } else {
            EXPECT_EQ(r.evType, "rdnt");
            EXPECT_GT(r.expired, kStart);
        }
    }
    // Page items never expire: every one of them is still there.
    EXPECT_EQ(pageItems, kRounds);
    // A last sweep leaves only items whose time has not come.
    NewsAnimate::clearExpired(topInfoList, end);
    for (const topInfoRuntimeRecord& r : topInfoList.snapshot())
        EXPECT_TRUE(r.expired == 0 || r.expired >= end);
    EXPECT_GT(view.fills, 0);
}

} // namespace
} // namespace kovan
