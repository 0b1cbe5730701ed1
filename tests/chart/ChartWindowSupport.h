#pragma once

#include "chart/ChartController.h"
#include "chart/ChartLauncher.h"
#include "chart/HistoryFile.h"
#include "core/JsonParams.h"
#include "core/ProgramState.h"

#include "TestServer.h"

#include <QJsonObject>
#include <QTemporaryDir>

namespace charttest {

// n hourly bars from 2023-11-14 22:13:20 UTC, closes rising by one.
inline kovan::ChartDataList hourlyBars(int n, float base = 5600) {
    kovan::ChartDataList s;
    for (int i = 0; i < n; ++i) {
        const float c = base + float(i);
        s.push_back({1700000000 + i * 3600, c - 0.5f, c, c - 3, c + 3});
    }
    return s;
}

// A program folder with the endpoints on loopback; the data server refuses connections, so a
// window's feed fails once and then waits out a long pause.
struct WindowEnvironment {
    QTemporaryDir dir;
    int dataPort = kovan::test::refusedPort();

    WindowEnvironment() {
        kovan::ProgramState& p = kovan::program();
        p.reset();
        p.appRunning.set(true);
        p.paths.programDir = dir.path() + u'/';
        p.paths.endpoints.dataServer = {QStringLiteral("127.0.0.1"), quint16(dataPort)};
        p.paths.endpoints.pageServer = {QStringLiteral("127.0.0.1"), 8802};
        p.session.setSessid(QStringLiteral("sess/1 x"));
        p.session.sessInfoText = QStringLiteral(R"({"UID":12,"sessid":"sess/1 x"})");
    }
    ~WindowEnvironment() { kovan::program().appRunning.set(false); }

    kovan::ChartController::Options options() const {
        kovan::ChartController::Options o;
        o.programDir = kovan::program().paths.programDir;
        o.appRunning = &kovan::program().appRunning;
        o.timing.connectTimeoutMs = 2000;
        o.timing.readTimeoutMs = 2000;
        o.replacePauseMs = 600000;
        return o;
    }
    void writeHistory(const QString& sym, const QString& ped, const kovan::ChartDataList& bars) {
        kovan::saveHistoryFile(kovan::historyFilePath(kovan::program().paths.programDir, sym, ped),
                               bars);
    }
    kovan::ChartDataList readHistory(const QString& sym, const QString& ped) {
        kovan::ChartDataList bars;
        kovan::loadHistoryFile(kovan::historyFilePath(kovan::program().paths.programDir, sym, ped),
                               bars);
        return bars;
    }
    static QString instrument(const QString& period = QStringLiteral("H1")) {
        QJsonObject o = kovan::ChartLauncher::defaultInstrument(kovan::program().paths.endpoints);
        o.insert(QStringLiteral("period"), period);
        o.insert(QStringLiteral("signid"), 30121);
        return kovan::compactJson(o);
    }
    static QString style() { return kovan::compactJson(kovan::ChartLauncher::defaultStyle()); }
};

} // namespace charttest
