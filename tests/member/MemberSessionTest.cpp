// What the results of sign-in and sign-out change: the member state shown, the settings and
// config.dat, the session, the pages.
#include "member/MemberSession.h"

#include "core/Errors.h"
#include "core/ProgramState.h"
#include "core/Scramble.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kovan;

namespace {

const QString kReply =
    QStringLiteral(R"({"status":1,"UID":"20001","sessid":"member-s1","user":"demo"})");

class MemberSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        program().reset();
        program().paths.programDir = m_dir.path() + u'/';
        program().session.setSessid(QStringLiteral("guest-s0"));
        program().session.sessInfoText = QStringLiteral(R"({"UID":12,"sessid":"guest-s0"})");
        program().appRunning.set(true);
        m_session.setState(program().session, program().settings);
        m_session.setEffects({[this](bool member, const QString& label) {
                                  shown
                                      << QString::fromLatin1(member ? "member|" : "guest|") + label;
                              },
                              [this](const QString& types) { reloads << types; }});
    }
    void TearDown() override { program().reset(); }

    QByteArray configBytes() const {
        QFile f(program().settings.filePath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
    }

    QTemporaryDir m_dir;
    MemberSession m_session;
    QStringList shown;
    QStringList reloads;
};

TEST_F(MemberSessionTest, LabelsOfTheTwoStates) {
    EXPECT_EQ(MemberSession::guestLabel(), QStringLiteral("    访客    "));
    EXPECT_EQ(MemberSession::memberLabel(QStringLiteral("20001")), QStringLiteral("    20001    "));
}

TEST_F(MemberSessionTest, AutomaticLoginSignsInSavesAuthkeyAndReloadsTheSignalPage) {
    program().settings.setLines(
        {QStringLiteral("localalert=0"),
         QStringLiteral("AUTHINFO=") + MemberSession::rememberLogin("demo", "demo123")});
    EXPECT_TRUE(m_session.loginResult(kReply));
    EXPECT_TRUE(m_session.signedIn());
    EXPECT_EQ(shown, QStringList{QStringLiteral("member|    20001    ")});
    EXPECT_EQ(reloads, QStringList{QStringLiteral("sign")});
    EXPECT_EQ(program().session.sessid(), QStringLiteral("member-s1"));
    EXPECT_EQ(program().session.sessInfoText, kReply);
    EXPECT_EQ(configBytes(), QByteArray("localalert=0\r\nAUTHINFO=") +
                                 MemberSession::rememberLogin("demo", "demo123").toLatin1() +
                                 "\r\nAUTHKEY=member-s1\r\n");
}

TEST_F(MemberSessionTest, FailedAutomaticLoginChangesNothing) {
    program().settings.setLines({QStringLiteral("AUTHINFO=00")});
    for (const char* reply :
         {R"({"status":0,"error":"系统错误，请重试！","errno":"10000000"})",
          R"({"status":2,"UID":"1","sessid":"x"})", "not json", R"(["status",1])", ""}) {
        SCOPED_TRACE(reply);
        EXPECT_FALSE(m_session.loginResult(QString::fromUtf8(reply)));
    }
    EXPECT_FALSE(m_session.signedIn());
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_TRUE(reloads.isEmpty());
    EXPECT_EQ(program().session.sessid(), QStringLiteral("guest-s0"));
    EXPECT_EQ(program().session.sessInfoText, QStringLiteral(R"({"UID":12,"sessid":"guest-s0"})"));
    EXPECT_EQ(configBytes(), QByteArray("<none>"));
    EXPECT_EQ(program().settings.value(u"AUTHINFO"), QStringLiteral("00"));
}

struct DialogCase {
    const char* password;
    bool remember;
    const char* authinfoBefore; // "" for none
    const char* config;         // config.dat afterwards
};

void PrintTo(const DialogCase& c, std::ostream* os) {
    *os << "password " << c.password << (c.remember ? ", ticked" : ", not ticked")
        << ", AUTHINFO before '" << c.authinfoBefore << "'";
}

class DialogLoginTest : public MemberSessionTest,
                        public ::testing::WithParamInterface<DialogCase> {};

TEST_P(DialogLoginTest, AuthkeyAlwaysAuthinfoOnlyWhenTicked) {
    const DialogCase& c = GetParam();
    if (*c.authinfoBefore)
        program().settings.setValue(u"AUTHINFO", QString::fromLatin1(c.authinfoBefore));
    m_session.dialogSignedIn(LoginReply::parse(kReply), QStringLiteral("demo"),
                             QString::fromUtf8(c.password), c.remember);
    EXPECT_TRUE(m_session.signedIn());
    EXPECT_EQ(shown, QStringList{QStringLiteral("member|    20001    ")});
    EXPECT_TRUE(reloads.isEmpty()); // no page reloads after the dialog
    EXPECT_EQ(program().session.sessid(), QStringLiteral("member-s1"));
    EXPECT_EQ(program().session.sessInfoText, QStringLiteral(R"({"UID":12,"sessid":"guest-s0"})"));
    EXPECT_EQ(QString::fromLatin1(configBytes()), QString::fromLatin1(c.config));
}

// scrambleStr("demo###demo123") and scrambleStr("demo###pa###ss"): each character's low byte
// XOR the key byte ("plainlocal…"), worked out outside this code.
INSTANTIATE_TEST_SUITE_P(
    Cases, DialogLoginTest,
    ::testing::Values(
        DialogCase{"demo123", false, "", "AUTHKEY=member-s1\r\n"},
        DialogCase{"demo123", false, "0A0B", "AUTHINFO=0A0B\r\nAUTHKEY=member-s1\r\n"},
        DialogCase{"demo123", true, "",
                   "AUTHKEY=member-s1\r\nAUTHINFO=14090C064D4F4C0704011C524052\r\n"},
        DialogCase{"demo123", true, "0A0B",
                   "AUTHINFO=14090C064D4F4C0704011C524052\r\nAUTHKEY=member-s1\r\n"},
        DialogCase{"pa###ss", true, "",
                   "AUTHKEY=member-s1\r\nAUTHINFO=14090C064D4F4C13004F50400112\r\n"}));

TEST_F(MemberSessionTest, PasswordHoldingHashesIsRememberedButNotReplayed) {
    const QString authInfo = MemberSession::rememberLogin("demo", "pa###ss");
    EXPECT_EQ(unscrambleStr(authInfo), QStringLiteral("demo###pa###ss"));
    EXPECT_TRUE(MemberSession::rememberedLogin(authInfo).isEmpty());
    EXPECT_EQ(MemberSession::rememberedLogin(MemberSession::rememberLogin("demo", "demo123")),
              (QStringList{"demo", "demo123"}));
    EXPECT_TRUE(MemberSession::rememberedLogin(QString()).isEmpty());
    EXPECT_TRUE(MemberSession::rememberedLogin(scrambleStr("demo")).isEmpty());
    EXPECT_THROW(MemberSession::rememberedLogin(QStringLiteral("zz")), ConversionError);
}

TEST_F(MemberSessionTest, LogoutReturnsToGuestAndForgetsTheRememberedLogin) {
    program().settings.setLines({QStringLiteral("localalert=1"), QStringLiteral("AUTHINFO=0A0B"),
                                 QStringLiteral("localaudio=default")});
    ASSERT_TRUE(m_session.loginResult(kReply));
    shown.clear();
    reloads.clear();
    m_session.logoutResult();
    EXPECT_FALSE(m_session.signedIn());
    EXPECT_EQ(shown, QStringList{QStringLiteral("guest|    访客    ")});
    EXPECT_EQ(reloads, QStringList{QStringLiteral("all")});
    // sessid and AUTHKEY stay; AUTHINFO is gone from memory and file.
    EXPECT_EQ(program().session.sessid(), QStringLiteral("member-s1"));
    EXPECT_EQ(program().settings.value(u"AUTHINFO"), QString());
    EXPECT_EQ(configBytes(),
              QByteArray("localalert=1\r\nlocalaudio=default\r\nAUTHKEY=member-s1\r\n"));
}

TEST_F(MemberSessionTest, ConfigThatCannotBeSavedDoesNotStopTheLogin) {
    // The program folder is a file: config.dat cannot be written.
    QFile blocker(m_dir.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    program().paths.programDir = m_dir.filePath("blocker") + u'/';
    EXPECT_TRUE(m_session.loginResult(kReply));
    EXPECT_EQ(program().session.sessid(), QStringLiteral("member-s1"));
    EXPECT_EQ(program().settings.value(u"AUTHKEY"), QStringLiteral("member-s1"));
    EXPECT_EQ(reloads, QStringList{QStringLiteral("sign")});
    m_session.logoutResult();
    EXPECT_EQ(reloads, (QStringList{"sign", "all"}));
}

} // namespace
