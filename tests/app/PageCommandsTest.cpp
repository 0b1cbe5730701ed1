// The page commands each part of the client registers, against the list in the README: a
// command that is added, moved or dropped without the list changing (or the other way round)
// fails here, naming it.
#include "alerts/AlertsModule.h"
#include "chart/ChartModule.h"
#include "core/CommandRegistry.h"
#include "core/ProgramState.h"
#include "media/MediaModule.h"
#include "member/MemberModule.h"
#include "net/NetModule.h"
#include "notify/NotifyModule.h"
#include "shell/ShellModule.h"
#include "web/WebModule.h"
#include "windows/WindowsModule.h"

#include <QFile>
#include <QMap>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace kovan;

namespace {

// name (as registered) → part, from the README's "Page commands" table.
QMap<QString, QString> readmeCommands() {
    QFile f(QStringLiteral(KOVAN_SOURCE_DIR "/README.md"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromUtf8(f.readAll());
    const qsizetype start = text.indexOf(QStringLiteral("\n## Page commands\n"));
    if (start < 0)
        return {};
    const qsizetype end = text.indexOf(QStringLiteral("\n## "), start + 1);
    const QString section = text.mid(start, end < 0 ? -1 : end - start);
    QMap<QString, QString> out;
    static const QRegularExpression row(QStringLiteral(R"(^\| `(\w+)` \| (\w+) \|)"),
                                        QRegularExpression::MultilineOption);
    for (auto it = row.globalMatch(section); it.hasNext();) {
        const auto m = it.next();
        out.insert(m.captured(1), m.captured(2));
    }
    return out;
}

TEST(PageCommands, EveryPartRegistersWhatTheReadmeLists) {
    ProgramState& p = program();
    ShellModule shell;
    WebModule web;
    web.setNeeds({.session = &p.session,
                  .paths = &p.paths,
                  .contentContainer = shell.contentContainer(),
                  .middleColumn = shell.middleColumn()});
    NetModule net;
    net.setNeeds({.session = &p.session,
                  .syncTables = &p.sync,
                  .news = &p.topInfoList,
                  .appRunning = &p.appRunning,
                  .paths = &p.paths});
    NotifyModule notify;
    notify.setNeeds({.session = &p.session,
                     .news = &p.topInfoList,
                     .realtimeSignals = &p.realtimeSignals,
                     .paths = &p.paths});
    MemberModule member;
    member.setNeeds({.session = &p.session,
                     .settings = &p.settings,
                     .paths = &p.paths,
                     .appRunning = &p.appRunning});
    WindowsModule windows;
    windows.setNeeds({.settings = &p.settings, .paths = &p.paths});
    ChartModule chart;
    chart.setNeeds({.settings = &p.settings,
                    .session = &p.session,
                    .paths = &p.paths,
                    .syncTables = &p.sync,
                    .appRunning = &p.appRunning});
    MediaModule media;
    media.setNeeds({.paths = &p.paths});
    AlertsModule alerts;
    alerts.setNeeds({.syncTables = &p.sync, .paths = &p.paths});
    const std::pair<const char*, ClientPart*> parts[] = {
        {"shell", &shell},   {"web", &web},       {"net", &net},
        {"notify", &notify}, {"member", &member}, {"windows", &windows},
        {"chart", &chart},   {"media", &media},   {"alerts", &alerts}};

    QMap<QString, QString> registered;
    for (const auto& [name, part] : parts) {
        CommandRegistry registry;
        part->registerCommands(registry);
        for (const QString& command : registry.names()) {
            EXPECT_FALSE(registered.contains(command))
                << command.toStdString() << " is registered by two parts";
            registered.insert(command, QString::fromLatin1(name));
        }
    }

    QString table;
    for (auto it = registered.cbegin(); it != registered.cend(); ++it)
        table += QStringLiteral("| `%1` | %2 |\n").arg(it.key(), it.value());
    const QMap<QString, QString> listed = readmeCommands();
    ASSERT_FALSE(listed.isEmpty()) << "README.md has no \"## Page commands\" table; registered:\n"
                                   << table.toStdString();
    EXPECT_EQ(registered, listed) << "registered:\n" << table.toStdString();
}

} // namespace
