#include "core/CommandLine.h"
#include "core/KovanVersion.h"

#include <gtest/gtest.h>

#include <unistd.h>

using namespace kovan;

TEST(CommandLine, Defaults) {
    const CommandLine cl = CommandLine::parse({"kovan"});
    EXPECT_EQ(cl.outcome, CommandLine::Outcome::Run);
    // /dev/shm is one for every account: the default block carries the user id.
    EXPECT_EQ(cl.sessionBlock, "KOVANUSERSHARE." + QString::number(::geteuid()));
    EXPECT_TRUE(cl.programDir.isEmpty());
    EXPECT_EQ(cl.endpoints.dataServer.port, 88);
    EXPECT_EQ(cl.endpoints.pageServer.port, 88);
    EXPECT_EQ(cl.endpoints.webSite.port, 80);
}

TEST(CommandLine, OptionsAndDefaultPorts) {
    const CommandLine cl = CommandLine::parse(
        {"kovan", "--dir", "/tmp/k", "--data-server", "127.0.0.1:8801", "--page-server=pages",
         "--web-site", "web:8080", "--session-block", "BLOCK2"});
    ASSERT_EQ(cl.outcome, CommandLine::Outcome::Run) << cl.message.toStdString();
    EXPECT_EQ(cl.programDir, "/tmp/k/");
    EXPECT_EQ(cl.endpoints.dataServer.root(), "http://127.0.0.1:8801");
    EXPECT_EQ(cl.endpoints.pageServer.root(), "http://pages:88");
    EXPECT_EQ(cl.endpoints.webSite.root(), "http://web:8080");
    EXPECT_EQ(cl.sessionBlock, "BLOCK2");
    EXPECT_EQ(CommandLine::parse({"kovan", "--web-site", "w"}).endpoints.webSite.root(),
              "http://w:80");
}

TEST(CommandLine, LoginStartAndQuitAreFlags) {
    const CommandLine plain = CommandLine::parse({"kovan", "--dir", "/tmp/k"});
    EXPECT_FALSE(plain.autostart);
    EXPECT_FALSE(plain.quit);
    const CommandLine login = CommandLine::parse({"kovan", "--autostart", "--dir", "/tmp/k"});
    ASSERT_EQ(login.outcome, CommandLine::Outcome::Run) << login.message.toStdString();
    EXPECT_TRUE(login.autostart);
    EXPECT_FALSE(login.quit);
    EXPECT_EQ(login.programDir, "/tmp/k/"); // a flag takes no value from the next word
    const CommandLine quit = CommandLine::parse({"kovan", "--dir", "/tmp/k", "--quit"});
    ASSERT_EQ(quit.outcome, CommandLine::Outcome::Run);
    EXPECT_TRUE(quit.quit);
    EXPECT_EQ(quit.programDir, "/tmp/k/");
    EXPECT_TRUE(CommandLine::usage().contains("--autostart"));
    EXPECT_TRUE(CommandLine::usage().contains("--quit"));
}

TEST(CommandLine, ErrorsAndHelp) {
    const QStringList bad[] = {
        {"kovan", "--frobnicate"},
        {"kovan", "--dir"},
        {"kovan", "stray"},
        {"kovan", "--data-server", "h:0"},
        {"kovan", "--page-server", ":88"},
        {"kovan", "--web-site", "h:99999"},
        {"kovan", "--session-block", "a/b"},
    };
    for (const QStringList& args : bad) {
        const CommandLine cl = CommandLine::parse(args);
        EXPECT_EQ(cl.outcome, CommandLine::Outcome::Error) << args.join(' ').toStdString();
        EXPECT_FALSE(cl.message.isEmpty());
    }
    const CommandLine help = CommandLine::parse({"kovan", "--dir", "/x", "--help"});
    EXPECT_EQ(help.outcome, CommandLine::Outcome::Help);
    EXPECT_TRUE(help.message.contains("--session-block"));
}

TEST(CommandLine, VersionIsTheProjectVersion) {
    const CommandLine cl = CommandLine::parse({"kovan", "--version"});
    EXPECT_EQ(cl.outcome, CommandLine::Outcome::Version);
    EXPECT_EQ(cl.message, "kovan " KOVAN_VERSION "\n");
    EXPECT_EQ(CommandLine::version(), KOVAN_VERSION);
    // Help names the version and the option.
    const QString help = CommandLine::parse({"kovan", "--help"}).message;
    EXPECT_TRUE(help.startsWith("kovan " KOVAN_VERSION "\n")) << help.toStdString();
    EXPECT_TRUE(help.contains("--version"));
    // Options before --version are checked as usual; a bad one is still an error.
    EXPECT_EQ(CommandLine::parse({"kovan", "--frob", "--version"}).outcome,
              CommandLine::Outcome::Error);
}
