// libFuzzer target: arbitrary parameter texts for the page commands, as a page would send them
// through window.external.FCB. The first input byte picks the command, the rest is the
// parameter (UTF-8). A command may refuse its parameter with a script error (an exception
// derived from std::exception), never crash, and the lists it feeds keep their bounds.
#include "chart/ChartCommands.h"
#include "chart/ChartRegistry.h"
#include "core/CommandRegistry.h"
#include "core/ProgramState.h"
#include "notify/NoticeList.h"
#include "notify/NotifyCommands.h"
#include "web/WebCommands.h"
#include "windows/WindowCommands.h"

#include <QJsonArray>

#include <cstdlib>
#include <exception>

namespace {

using namespace kovan;

struct Commands {
    CommandRegistry registry;
    NoticeList notices;
    ChartRegistry charts; // no window open: chart commands answer for an unknown key
    QStringList names;

    Commands() {
        // The web part's commands with no windows behind them: only their parameter rules run.
        registerWebCommands(registry, WebCommandTargets{});
        registerWindowCommands(registry, {});
        NotifyCommandTargets t;
        t.notices = &notices;
        t.showMsg = [](int) {};
        t.soundOn = [] { return true; };
        t.audioPlay = [](const QString&) {};
        t.topInfoList = &program().topInfoList;
        t.realtimeSignals = &program().realtimeSignals.document;
        t.refreshInstantTrade = [] {};
        registerNotifyCommands(registry, t);
        registerChartCommands(registry, {&charts, nullptr});
        // Modal ones would wait for a window; the rest are all parameter parsers.
        for (const QString& name : registry.names()) {
            if (registry.replyKind(name) == CommandRegistry::Reply::Immediate)
                names.append(name);
        }
        names.sort();
    }
};

void checkBounds(const Commands& c) {
    for (int i = 0; i < c.notices.size(); ++i) {
        const rbMsgRecord& n = c.notices.at(i);
        if (n.title.size() > rbMsgRecord::kTitleUnits ||
            n.content.size() > rbMsgRecord::kContentUnits ||
            n.viewAct.size() > rbMsgRecord::kViewActUnits ||
            n.vititle.size() > rbMsgRecord::kViTitleUnits ||
            n.viparam.size() > rbMsgRecord::kViParamUnits)
            std::abort();
    }
    const QJsonObject& signals = program().realtimeSignals.document;
    if (signals.value(u"itemcount").toInteger() != signals.value(u"items").toArray().size())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Commands* commands = [] {
        program().realtimeSignals.document =
            QJsonObject{{QStringLiteral("itemcount"), 0}, {QStringLiteral("items"), QJsonArray()}};
        return new Commands;
    }();
    if (size == 0)
        return 0;
    const QString& name = commands->names[data[0] % commands->names.size()];
    const QString params =
        QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    try {
        commands->registry.IWebCallBack(name, params);
    } catch (const std::exception&) {
        // A script error for the page: allowed.
    }
    checkBounds(*commands);
    // Keep the lists from growing without end over a long run.
    if (commands->notices.size() > 10000 || program().topInfoList.snapshot().size() > 10000) {
        delete commands;
        commands = new Commands;
        program().topInfoList.with([](auto& l) { l.clear(); });
    }
    return 0;
}
