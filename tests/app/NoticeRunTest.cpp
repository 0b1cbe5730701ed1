// A notice seen from outside: the real client runs against a loopback page server whose signal
// page calls tipwindow as it loads; the corner pop-up appears just below the work area and
// rises into its bottom-right corner. The client traces every step of the pop-up.

#include "ClientRun.h"

#include "core/SharedBlock.h"
#include "TestServer.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace kovan;

namespace {

const char* const kNoticePage = R"HTML(<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>QZEARVersion</title></head><body>
<p>signals</p>
<script>
window.external.FCB('tipwindow', JSON.stringify({title: '新信号：黄金美元',
  content: '卖出 1932.50', viewact: 'viewinfo', vititle: '信号详情',
  viparam: 'signinfo/abc/1', staytitle: 0}));
</script></body></html>)HTML";

struct Step {
    QString what;
    int x = 0, y = 0;
};

// The pop-up's trace lines in order: "rbMsgForm <what> at <x>,<y>".
QList<Step> popupSteps(const QString& trace) {
    static const QRegularExpression line(
        QStringLiteral(R"(kovan: rbMsgForm ([a-z-]+) at (-?\d+),(-?\d+)\n)"));
    QList<Step> steps;
    for (auto it = line.globalMatch(trace); it.hasNext();) {
        const auto m = it.next();
        steps.append({m.captured(1), m.captured(2).toInt(), m.captured(3).toInt()});
    }
    return steps;
}

TEST(NoticeRun, PageRaisesANoticeThatRisesIntoTheCorner) {
    const QString block = QStringLiteral("KVNNOTICE-%1").arg(::getpid());
    ASSERT_TRUE(publishSessionBlock(block, R"({"UID":12,"sessid":"abc"})"));
    test::TestServer pages([](const httplib::Request& req, httplib::Response& res) {
        if (req.path.rfind("/tools/signlist/", 0) == 0)
            res.set_content(kNoticePage, "text/html; charset=utf-8");
        else if (req.path.rfind("/tools/", 0) == 0)
            res.set_content("<html><body>QZEARVersion</body></html>", "text/html");
        else
            res.status = 404; // sounds: the alert stays silent
    });

    ProgramFolder folder;
    ClientRun client(folder, block);
    client.start({"--page-server", QStringLiteral("127.0.0.1:%1").arg(pages.port())});
    const bool rested = client.waitForText(QStringLiteral("kovan: rbMsgForm rests at"), 60000);
    client.endRun();
    const QString trace = client.traceText();
    ASSERT_TRUE(rested) << trace.toStdString();

    static const QRegularExpression area(
        QStringLiteral(R"(kovan: rbMsgForm work area (-?\d+),(-?\d+) (\d+)x(\d+)\n)"));
    const auto a = area.match(trace);
    ASSERT_TRUE(a.hasMatch()) << trace.toStdString();
    const int left = a.captured(1).toInt(), top = a.captured(2).toInt();
    const int width = a.captured(3).toInt(), height = a.captured(4).toInt();
    const int column = left + width - 243;
    const int bottom = top + height;

    const QList<Step> steps = popupSteps(trace);
    ASSERT_GE(steps.size(), 3) << trace.toStdString();
    EXPECT_EQ(steps.first().what, "shown");
    EXPECT_EQ(steps.first().x, column);
    EXPECT_EQ(steps.first().y, bottom + 1); // just below the work area
    // Then it rises with steps 0, 10, 20 … pixels until its bottom meets the work area's.
    int y = bottom + 1;
    for (qsizetype i = 1; i < steps.size(); ++i) {
        const Step& s = steps[i];
        EXPECT_EQ(s.x, column) << i;
        if (s.what == "slide-in") {
            y -= 10 * int(i - 1);
            EXPECT_EQ(s.y, y) << i;
        } else {
            EXPECT_EQ(s.what, "rests") << i;
            EXPECT_EQ(s.y, bottom - 202);
            EXPECT_EQ(i, steps.size() - 1);
        }
    }
    EXPECT_EQ(steps.last().what, "rests");
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
