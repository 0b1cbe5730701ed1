// The member module against a loopback data server: the login request's body, the automatic
// login at start-up, the dialog's results in config.dat, logout, the web-site links and the
// forced logout.
#include "member/MemberModule.h"

#include "core/CommandRegistry.h"
#include "core/ExitProcedure.h"
#include "core/Lifecycle.h"
#include "core/ProgramState.h"
#include "core/Scramble.h"
#include "member/Tauform.h"

#include "TestServer.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QUrlQuery>

#include <gtest/gtest.h>

#include <memory>
#include <mutex>

using namespace kovan;
using kovan::test::TestServer;

namespace {

// The program's own state pieces, as the program entry hands them to the module.
MemberModule::Needs programNeeds() {
    ProgramState& p = program();
    return {.session = &p.session,
            .settings = &p.settings,
            .paths = &p.paths,
            .appRunning = &p.appRunning};
}

const std::string kOkReply = R"({"status":1,"UID":"20001","sessid":"member-s1"})";

class MemberModuleTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        program().reset();
        program().paths.programDir = m_dir.path() + u'/';
        program().paths.endpoints.dataServer = HostPort{m_server.host(), quint16(m_server.port())};
        program().paths.endpoints.webSite = HostPort{QStringLiteral("www.langou-signals.cn"), 80};
        program().session.setSessid(QStringLiteral("guest-s0"));
        program().session.sessInfoText = QStringLiteral(R"({"UID":12,"sessid":"guest-s0"})");
        program().appRunning.set(true);
        m_server.setHandler([this](const httplib::Request& req, httplib::Response& res) {
            std::lock_guard lock(m_replyMutex);
            if (req.path.rfind("/logout/", 0) == 0) {
                res.status = m_logoutStatus;
                return;
            }
            res.set_content(m_loginReply, "application/json; charset=utf-8");
        });
        m_module = std::make_unique<MemberModule>();
        m_module->setRequestTimeoutsMs(5000, 5000);
        MemberModule::Needs needs = programNeeds();
        needs.showMemberState = [this](bool member, const QString& label) {
            shown << QString::fromLatin1(member ? "member|" : "guest|") + label;
        };
        needs.forceReload = [this](const QString& types) { reloads << types; };
        needs.exitProcedure = [this] { ++exits; };
        needs.openUrl = [this](const QUrl& url) { opened << url; };
        m_module->setNeeds(needs);
        m_module->loginForm()->showSuccessBox = [this] { ++boxes; };
    }
    void TearDown() override {
        m_module.reset();
        program().reset();
    }

    QByteArray configBytes() const {
        QFile f(program().settings.filePath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
    }
    // The server's answers (read on its thread).
    void answerLogin(const std::string& reply) {
        std::lock_guard lock(m_replyMutex);
        m_loginReply = reply;
    }
    void answerLogout(int status) {
        std::lock_guard lock(m_replyMutex);
        m_logoutStatus = status;
    }
    bool waitForRequests(size_t n) {
        return test::waitUntil([&] { return m_server.count() >= n; });
    }

    QTemporaryDir m_dir;
    std::mutex m_replyMutex;
    std::string m_loginReply = kOkReply;
    int m_logoutStatus = 200;
    TestServer m_server; // stops before the answers above go
    std::unique_ptr<MemberModule> m_module;
    QStringList shown;
    QStringList reloads;
    QList<QUrl> opened;
    int exits = 0;
    int boxes = 0;
};

TEST_F(MemberModuleTest, LoginRequestBodyByteForByte) {
    m_module->loginRequest(QStringLiteral("138 0013"), QStringLiteral("demo123"));
    ASSERT_TRUE(test::waitUntil([&] { return !shown.isEmpty(); }));
    const auto seen = m_server.seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].method, "POST");
    EXPECT_EQ(seen[0].path, "/clientlogin/guest-s0");
    EXPECT_EQ(seen[0].contentType, "application/x-www-form-urlencoded");
    EXPECT_EQ(seen[0].body,
              "user=138%200013&passwd=14090C065F5E5C&ckey=" + getClientKey().toStdString());
}

TEST_F(MemberModuleTest, AutomaticLoginAtStartUpSignsInAndSavesAuthkey) {
    const QString authInfo = scrambleStr(QStringLiteral("demo###demo123"));
    program().settings.setLines({QStringLiteral("AUTHINFO=") + authInfo});
    Lifecycle lifecycle;
    m_module->addSteps(lifecycle);
    lifecycle.runStart(StartStep::SignIn);
    ASSERT_TRUE(test::waitUntil([&] { return !reloads.isEmpty(); }));
    EXPECT_NE(m_server.seen().at(0).body.find("user=demo&passwd=14090C065F5E5C&"),
              std::string::npos);
    EXPECT_TRUE(m_module->signedIn());
    EXPECT_EQ(shown, QStringList{QStringLiteral("member|    20001    ")});
    EXPECT_EQ(reloads, QStringList{QStringLiteral("sign")});
    EXPECT_EQ(program().session.sessid(), QStringLiteral("member-s1"));
    EXPECT_EQ(program().session.sessInfoText, QString::fromStdString(kOkReply));
    EXPECT_EQ(configBytes(), "AUTHINFO=" + authInfo.toLatin1() + "\r\nAUTHKEY=member-s1\r\n");
}

TEST_F(MemberModuleTest, AutomaticLoginThatFailsLeavesTheGuest) {
    program().settings.setLines({QStringLiteral("AUTHINFO=") + scrambleStr("demo###x")});
    answerLogin(R"({"status":0,"error":"用户名或密码错误","errno":"10000101"})");
    Lifecycle lifecycle;
    m_module->addSteps(lifecycle);
    lifecycle.runStart(StartStep::SignIn);
    ASSERT_TRUE(waitForRequests(1));
    test::pumpFor(100); // the reply's handler
    EXPECT_FALSE(m_module->signedIn());
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_EQ(program().session.sessid(), QStringLiteral("guest-s0"));
    EXPECT_EQ(configBytes(), QByteArray("<none>"));
}

TEST_F(MemberModuleTest, RememberedPasswordHoldingHashesSendsNothing) {
    program().settings.setLines({QStringLiteral("AUTHINFO=") + scrambleStr("demo###pa###ss")});
    Lifecycle lifecycle;
    m_module->addSteps(lifecycle);
    lifecycle.runStart(StartStep::SignIn);
    test::pumpFor(200);
    EXPECT_EQ(m_server.count(), 0u);
}

struct DialogCase {
    const char* name;
    std::string reply;
    const char* password;
    bool remember;
    bool ok;
    const char* config; // config.dat afterwards; "<none>" when not written
};

void PrintTo(const DialogCase& c, std::ostream* os) {
    *os << c.name;
}

class MemberDialogTest : public MemberModuleTest,
                         public ::testing::WithParamInterface<DialogCase> {};

TEST_P(MemberDialogTest, AuthResultThroughTheRealRequest) {
    const DialogCase& c = GetParam();
    answerLogin(c.reply);
    Tauform* form = m_module->loginForm();
    form->user()->setText(QStringLiteral("demo"));
    form->passwd()->setText(QString::fromUtf8(c.password));
    form->rembercb()->setChecked(c.remember);
    form->submitbtClick();
    ASSERT_TRUE(test::waitUntil([&] { return !form->requestOut(); }));
    EXPECT_EQ(m_module->signedIn(), c.ok);
    EXPECT_EQ(boxes, c.ok ? 1 : 0);
    EXPECT_EQ(form->notelabel()->text(),
              c.ok ? QStringLiteral("请稍侯...") : QStringLiteral("验证失败！"));
    EXPECT_EQ(program().session.sessid(),
              c.ok ? QStringLiteral("member-s1") : QStringLiteral("guest-s0"));
    // The dialog reloads no page and keeps the session text.
    EXPECT_TRUE(reloads.isEmpty());
    EXPECT_EQ(program().session.sessInfoText, QStringLiteral(R"({"UID":12,"sessid":"guest-s0"})"));
    EXPECT_EQ(configBytes(), QByteArray(c.config));
    EXPECT_EQ(exits, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MemberDialogTest,
    ::testing::Values(DialogCase{"NotJson", "<html>no</html>", "demo123", true, false, "<none>"},
                      DialogCase{"StatusZero", R"({"status":0,"error":"e","errno":"1"})", "demo123",
                                 true, false, "<none>"},
                      DialogCase{"StatusOneBoxNotTicked", kOkReply, "demo123", false, true,
                                 "AUTHKEY=member-s1\r\n"},
                      DialogCase{"StatusOneBoxTicked", kOkReply, "demo123", true, true,
                                 "AUTHKEY=member-s1\r\nAUTHINFO=14090C064D4F4C0704011C524052\r\n"},
                      DialogCase{"PasswordHoldingHashes", kOkReply, "pa###ss", true, true,
                                 "AUTHKEY=member-s1\r\nAUTHINFO=14090C064D4F4C13004F50400112\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MemberModuleTest, LogoutReturnsToTheGuestWhateverTheReply) {
    program().settings.setLines({QStringLiteral("AUTHINFO=") + scrambleStr("demo###demo123")});
    m_module->loginRequest(QStringLiteral("demo"), QStringLiteral("demo123"));
    ASSERT_TRUE(test::waitUntil([&] { return m_module->signedIn(); }));
    answerLogout(500);
    shown.clear();
    reloads.clear();
    m_module->lgoutlabClick();
    ASSERT_TRUE(test::waitUntil([&] { return !reloads.isEmpty(); }));
    EXPECT_EQ(m_server.seen().back().path, "/logout/member-s1");
    EXPECT_EQ(m_server.seen().back().body, "logout=1");
    EXPECT_FALSE(m_module->signedIn());
    EXPECT_EQ(shown, QStringList{QStringLiteral("guest|    访客    ")});
    EXPECT_EQ(reloads, QStringList{QStringLiteral("all")});
    EXPECT_EQ(program().session.sessid(), QStringLiteral("member-s1"));
    EXPECT_EQ(configBytes(), QByteArray("AUTHKEY=member-s1\r\n"));
}

TEST_F(MemberModuleTest, MemberPictureOpensTheDialogOnlyForAGuest) {
    int shownDialogs = 0;
    const auto closeWhenShown = [&] {
        QTimer::singleShot(0, [&] {
            if (m_module->loginForm()->isVisible())
                ++shownDialogs;
            m_module->loginForm()->dismissForExit();
        });
    };
    closeWhenShown();
    m_module->logIMGClick();
    EXPECT_EQ(shownDialogs, 1);
    m_module->loginRequest(QStringLiteral("demo"), QStringLiteral("demo123"));
    ASSERT_TRUE(test::waitUntil([&] { return m_module->signedIn(); }));
    m_module->logIMGClick(); // a member: nothing
    EXPECT_EQ(shownDialogs, 1);
    closeWhenShown();
    m_module->loginLabelClick(); // whatever the state
    EXPECT_EQ(shownDialogs, 2);
    EXPECT_EQ(exits, 0);
}

TEST_F(MemberModuleTest, LinksCarryAnAwkwardSessionAsOneQueryValue) {
    const QString sessid = QStringLiteral("a&S=x #y%z");
    program().session.setSessid(sessid);
    CommandRegistry registry;
    m_module->registerCommands(registry);
    EXPECT_EQ(registry.IWebCallBack(QStringLiteral("utypelabClick"), QStringLiteral("{}")), "1");
    EXPECT_EQ(registry.IWebCallBack(QStringLiteral("REGLABELCLICK"), QString()), "1");
    m_module->loginForm()->RzButton1()->click();
    m_module->loginForm()->notelabelClick();
    ASSERT_EQ(opened.size(), 4);
    const QString c = scrambleStr(getClientKey());
    const struct {
        const char* path;
        bool hasSession;
    } expected[] = {
        {"/price.php", true}, {"/register.php", true}, {"/register.php", false}, {"/", true}};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(opened[i].toString().toStdString());
        EXPECT_EQ(opened[i].scheme(), QStringLiteral("http"));
        EXPECT_EQ(opened[i].host(), QStringLiteral("www.langou-signals.cn"));
        EXPECT_EQ(opened[i].path(), QString::fromLatin1(expected[i].path));
        EXPECT_FALSE(opened[i].hasFragment());
        const QUrlQuery q(opened[i]);
        EXPECT_EQ(q.queryItems().size(), expected[i].hasSession ? 2 : 1);
        EXPECT_EQ(q.queryItemValue(QStringLiteral("C"), QUrl::FullyDecoded), c);
        if (expected[i].hasSession) {
            EXPECT_EQ(q.queryItemValue(QStringLiteral("S"), QUrl::FullyDecoded), sessid);
        }
    }
}

TEST_F(MemberModuleTest, PageReachableMethodsAreRegistered) {
    CommandRegistry registry;
    m_module->registerCommands(registry);
    for (const char* name : {"forcelogout", "loginLabelClick", "lgoutlabClick", "utypelabClick",
                             "regLabelClick", "logIMGClick"})
        EXPECT_TRUE(registry.contains(QString::fromLatin1(name))) << name;
    // The two that open the modal dialog run after the page's call has returned.
    EXPECT_EQ(registry.replyKind(QStringLiteral("loginlabelclick")),
              CommandRegistry::Reply::Deferred);
    EXPECT_EQ(registry.replyKind(QStringLiteral("logIMGClick")), CommandRegistry::Reply::Deferred);
    EXPECT_EQ(registry.replyKind(QStringLiteral("forcelogout")), CommandRegistry::Reply::Immediate);
}

TEST_F(MemberModuleTest, ForcelogoutRunsTheExitProcedureAndEmptiesKeyDat) {
    QTemporaryDir cwd;
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(cwd.path()));
    {
        QFile key(QStringLiteral("key.dat"));
        ASSERT_TRUE(key.open(QIODevice::WriteOnly));
        key.write("companion secret");
    }
    Lifecycle lifecycle;
    QStringList order;
    lifecycle.onExit(ExitStep::StopWorkers, [&] {
        order << QStringLiteral("stop:") + QString::number(QFile(cwd.filePath("key.dat")).size());
    });
    m_module->addSteps(lifecycle);
    lifecycle.onExit(ExitStep::HideWindows, [&] {
        order << QStringLiteral("hide:") + QString::number(QFile(cwd.filePath("key.dat")).size());
    });
    ExitProcedure exit(lifecycle, program().appRunning);
    bool quit = false;
    exit.setQuit([&] { quit = true; });
    MemberModule::Needs needs = programNeeds();
    needs.exitProcedure = [&] { exit.run(); };
    m_module->setNeeds(needs);
    CommandRegistry registry;
    m_module->registerCommands(registry);

    EXPECT_EQ(registry.IWebCallBack(QStringLiteral("forcelogout"), QStringLiteral("ignored")), "1");
    ASSERT_TRUE(test::waitUntil([&] { return quit; }));
    EXPECT_FALSE(program().appRunning.isSet());
    // Emptied after the workers were told to stop, before the windows hide.
    EXPECT_EQ(order, (QStringList{"stop:16", "hide:0"}));
    QFile key(cwd.filePath("key.dat"));
    EXPECT_TRUE(key.exists());
    EXPECT_EQ(key.size(), 0);
    ASSERT_TRUE(QDir::setCurrent(before));
}

TEST_F(MemberModuleTest, OrdinaryExitLeavesKeyDatAlone) {
    QTemporaryDir cwd;
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(cwd.path()));
    {
        QFile key(QStringLiteral("key.dat"));
        ASSERT_TRUE(key.open(QIODevice::WriteOnly));
        key.write("companion secret");
    }
    Lifecycle lifecycle;
    m_module->addSteps(lifecycle);
    lifecycle.runExit(ExitStep::StopWorkers);
    lifecycle.runExit(ExitStep::HideWindows);
    EXPECT_EQ(QFile(cwd.filePath("key.dat")).size(), 16);
    ASSERT_TRUE(QDir::setCurrent(before));
}

TEST_F(MemberModuleTest, CancelInTheDialogRunsTheExitProcedure) {
    QTimer::singleShot(0, [&] { m_module->loginForm()->cancel()->click(); });
    m_module->loginLabelClick();
    EXPECT_EQ(exits, 1);
    EXPECT_FALSE(m_module->loginForm()->isVisible());
}

// The login window is made when first needed: not with the module, not by the automatic login
// or the exit steps.
TEST(MemberModuleWindowTest, TheLoginWindowIsMadeWhenFirstNeeded) {
    const auto loginWindows = [] {
        int n = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            n += qobject_cast<Tauform*>(w) != nullptr;
        return n;
    };
    program().reset();
    const int before = loginWindows();
    {
        MemberModule module;
        module.setNeeds(programNeeds());
        Lifecycle lifecycle;
        module.addSteps(lifecycle);
        lifecycle.runStart(StartStep::SignIn); // nothing remembered: no login
        lifecycle.runExit(ExitStep::StopWorkers);
        lifecycle.runExit(ExitStep::HideWindows);
        EXPECT_EQ(loginWindows(), before);

        Tauform* form = module.loginForm();
        EXPECT_EQ(loginWindows(), before + 1);
        EXPECT_EQ(module.loginForm(), form) << "made once, then reused";
    }
    EXPECT_EQ(loginWindows(), before);
    program().reset();
}

} // namespace
