// The signal and message commands against their lists, with recording stand-ins for the
// pop-up, the sound switch and the instant-trade strip.

#include "notify/NotifyCommands.h"
#include "core/CommandRegistry.h"
#include "core/Errors.h"
#include "notify/NoticeList.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <gtest/gtest.h>

namespace kovan {
namespace {

class NotifyCommandsTest : public ::testing::Test {
protected:
    NotifyCommandsTest()
        : commands({&notices, [this](int i) { shown.append(i); }, [this] { return soundOn; },
                    [this](const QString& f) { played.append(f); }, &news, &signals,
                    [this] { ++refreshes; }}) {
        signals = QJsonObject{{"itemcount", 0}, {"items", QJsonArray()}};
    }

    QList<topInfoRuntimeRecord> newsNow() const { return news.snapshot(); }
    QJsonArray held() const { return signals.value("items").toArray(); }

    NoticeList notices;
    Guarded<QList<topInfoRuntimeRecord>> news;
    QJsonObject signals;
    QList<int> shown;
    QStringList played;
    bool soundOn = true;
    int refreshes = 0;
    NotifyCommands commands;
};

TEST_F(NotifyCommandsTest, TipwindowAppendsShowsTheNewestAndSounds) {
    EXPECT_EQ(commands.tipwindow(R"({"title":"新信号","content":"黄金","viewact":"viewinfo",
        "vititle":"详情","viparam":"signinfo/S/1","staytitle":"7","audio":"ding.wav"})"),
              "1");
    EXPECT_EQ(commands.tipwindow(R"({"title":"第二条"})"), "1");
    ASSERT_EQ(notices.size(), 2);
    EXPECT_EQ(notices.at(0),
              rbMsgRecord::make("新信号", "黄金", "viewinfo", "详情", "signinfo/S/1", 7));
    EXPECT_EQ(notices.at(1).title, "第二条");
    EXPECT_EQ(shown, (QList<int>{0, 1}));
    EXPECT_EQ(played, (QStringList{"ding.wav", "alert.wav"}));
}

TEST_F(NotifyCommandsTest, TipwindowWithAnEmptyObjectStillShowsANotice) {
    commands.tipwindow("{}");
    ASSERT_EQ(notices.size(), 1);
    EXPECT_EQ(notices.at(0), rbMsgRecord{});
    EXPECT_EQ(shown, QList<int>{0});
}

TEST_F(NotifyCommandsTest, SoundSwitchSilencesNoticesButNotPlayaudio) {
    soundOn = false;
    commands.tipwindow(R"({"title":"t","audio":"x.wav"})");
    EXPECT_TRUE(played.isEmpty());
    EXPECT_EQ(commands.playaudio(R"({"audio":"y.wav"})"), "1");
    EXPECT_EQ(commands.playaudio(R"({"audio":""})"), "1");
    EXPECT_EQ(played, QStringList{"y.wav"});
}

TEST_F(NotifyCommandsTest, StaytitleKeepsItsLow32Bits) {
    commands.tipwindow(R"({"staytitle":4294967303})"); // 2^32 + 7
    EXPECT_EQ(notices.at(0).staytitle, 7);
}

TEST_F(NotifyCommandsTest, LongNoticeTextsAreCutToTheirFields) {
    const QString longText(5000, u'字');
    QJsonObject p{{"title", longText},
                  {"content", longText},
                  {"viewact", longText},
                  {"vititle", longText},
                  {"viparam", longText}};
    commands.tipwindow(QString::fromUtf8(QJsonDocument(p).toJson()));
    const rbMsgRecord& n = notices.at(0);
    EXPECT_EQ(n.title.size(), 255);
    EXPECT_EQ(n.content.size(), 4095);
    EXPECT_EQ(n.viewAct.size(), 31);
    EXPECT_EQ(n.vititle.size(), 255);
    EXPECT_EQ(n.viparam.size(), 255);
}

TEST(CutField, BoundsTextsAtZeroAndLengthWithoutSplittingACharacter) {
    const QString clef = QString::fromUtf8("\xF0\x9D\x84\x9E"); // U+1D11E, two UTF-16 units
    const struct {
        QString text;
        qsizetype max;
        QString cut;
    } cases[] = {
        {"abc", 5, "abc"},
        {"abcdef", 3, "abc"},
        {QString("ab") + QChar(0) + "cd", 10, "ab"},
        {"ab" + clef, 3, "ab"}, // the pair would be cut in two: drop it whole
        {"ab" + clef, 4, "ab" + clef},
        {"", 3, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cutField(c.text, c.max), c.cut) << c.text.toStdString();
}

TEST_F(NotifyCommandsTest, BrokenParametersFailBeforeAnyChange) {
    for (const char* bad : {"not json", "[1,2]", ""}) {
        EXPECT_THROW(commands.tipwindow(bad), ConversionError) << bad;
        EXPECT_THROW(commands.addfloatmsg(bad), ConversionError) << bad;
        EXPECT_THROW(commands.realsign(bad), ConversionError) << bad;
        EXPECT_THROW(commands.playaudio(bad), ConversionError) << bad;
    }
    EXPECT_THROW(commands.realsign(R"({"items":{"id":1}})"), ConversionError);
    EXPECT_THROW(commands.realsign(R"({})"), ConversionError);
    EXPECT_EQ(notices.size(), 0);
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_TRUE(newsNow().isEmpty());
    EXPECT_EQ(refreshes, 0);
}

TEST_F(NotifyCommandsTest, AddfloatmsgDuplicateRules) {
    commands.addfloatmsg(R"({"id":9004,"title":"非农","type":"mkte","impant":3})");
    commands.addfloatmsg(R"({"id":9004,"title":"again","type":"mkte","impant":1})"); // duplicate
    commands.addfloatmsg(R"({"id":"9004","title":"as text","type":"mkte"})");        // duplicate
    commands.addfloatmsg(R"({"id":9004,"title":"other type","type":"arts"})");       // not one
    commands.addfloatmsg(R"({"id":9004,"title":"case","type":"MKTE"})");             // not one
    EXPECT_EQ(commands.addfloatmsg(R"({"id":1,"type":"arts"})"), "1");               // no title
    EXPECT_EQ(commands.addfloatmsg(R"({"title":"no id","type":"arts"})"), "1");      // no id
    const QList<topInfoRuntimeRecord> list = newsNow();
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(list[0], (topInfoRuntimeRecord{9004, "mkte", 3, "非农", 0}));
    EXPECT_EQ(list[1].evType, "arts");
    EXPECT_EQ(list[2].evType, "MKTE");
    for (const auto& item : list)
        EXPECT_EQ(item.expired, 0);
}

TEST_F(NotifyCommandsTest, AddfloatmsgIsNoDuplicateOfASyncItemWithTheSameId) {
    news.with([](auto& l) { l.append({77, "rdnt", 1, "sync", 123}); });
    commands.addfloatmsg(R"({"id":77,"title":"page","type":"newtips","impant":2})");
    ASSERT_EQ(newsNow().size(), 2);
    EXPECT_EQ(newsNow()[1], (topInfoRuntimeRecord{77, "newtips", 2, "page", 0}));
}

TEST_F(NotifyCommandsTest, RealsignAppendsNewSignalsAndMergesTpAndSlOnly) {
    commands.realsign(R"({"items":[
        {"id":1,"postype":"SELL","symname":"黄金","openprice":"1932.5","tp":1918,"sl":1940,"cddl":"10:05"},
        {"id":2,"postype":"BUY","symname":"白银","openprice":"4128","tp":4188,"sl":4096}]})");
    ASSERT_EQ(held().size(), 2);
    EXPECT_EQ(signals.value("itemcount").toInt(), 2);
    EXPECT_EQ(refreshes, 1);

    // A known id: tp and sl follow, everything else stays; a new id goes to the end.
    commands.realsign(R"({"items":[
        {"id":1,"postype":"BUY","symname":"改","openprice":"1","tp":1915.5,"sl":1940},
        {"id":3,"postype":"SELL STOP","symname":"铝"}]})");
    const QJsonArray items = held();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(signals.value("itemcount").toInt(), 3);
    const QJsonObject first = items[0].toObject();
    EXPECT_EQ(first.value("tp").toDouble(), 1915.5);
    EXPECT_EQ(first.value("sl").toDouble(), 1940);
    EXPECT_EQ(first.value("postype").toString(), "SELL");
    EXPECT_EQ(first.value("symname").toString(), "黄金");
    EXPECT_EQ(first.value("openprice").toString(), "1932.5");
    EXPECT_EQ(items[1].toObject().value("id").toInt(), 2);
    EXPECT_EQ(items[2].toObject().value("symname").toString(), "铝");
    EXPECT_EQ(refreshes, 2);
}

TEST_F(NotifyCommandsTest, RealsignWithNoItemsOnlyRefreshes) {
    commands.realsign(R"({"items":[{"id":5,"tp":1}]})");
    const QJsonObject before = signals;
    EXPECT_EQ(commands.realsign(R"({"items":[]})"), "1");
    EXPECT_EQ(signals, before);
    EXPECT_EQ(refreshes, 2);
}

TEST(RegisterNotifyCommands, CommandsAnswerOneThroughTheRegistry) {
    NoticeList notices;
    Guarded<QList<topInfoRuntimeRecord>> news;
    QJsonObject signals{{"itemcount", 0}, {"items", QJsonArray()}};
    CommandRegistry registry;
    registerNotifyCommands(registry, {&notices, {}, {}, {}, &news, &signals, {}});
    for (const char* name : {"tipwindow", "addfloatmsg", "realsign", "playaudio"})
        EXPECT_TRUE(registry.contains(name)) << name;
    EXPECT_EQ(registry.IWebCallBack("TIPWINDOW", R"({"title":"a"})"), "1");
    EXPECT_EQ(registry.IWebCallBack("addfloatmsg", R"({"id":1,"title":"b","type":"t"})"), "1");
    EXPECT_EQ(registry.IWebCallBack("realsign", R"({"items":[{"id":1}]})"), "1");
    EXPECT_EQ(registry.IWebCallBack("playaudio", R"({"audio":"a.wav"})"), "1");
    EXPECT_EQ(notices.size(), 1);
    EXPECT_EQ(news.snapshot().size(), 1);
    EXPECT_EQ(signals.value("itemcount").toInt(), 1);
    EXPECT_THROW(registry.IWebCallBack("tipwindow", "{broken"), ConversionError);
}

} // namespace
} // namespace kovan
