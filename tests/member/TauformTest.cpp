// The login dialog on its own: captions and sizes, the submit rules, the reply handling, the
// ways it closes. Requests, the message box and the application's end are recorded.
#include "member/Tauform.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

using namespace kovan;

namespace {

const QString kOk = QStringLiteral(R"({"status":1,"UID":"20001","sessid":"member-s1"})");

struct Sent {
    QString user;
    QString password;
    Tauform::ReplyHandler done;
};

class TauformTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<Tauform>();
        form->setSiteName(QStringLiteral("www.langou-signals.cn"));
        form->sendLogin = [this](const QString& u, const QString& p, Tauform::ReplyHandler done) {
            sent.push_back({u, p, std::move(done)});
        };
        form->signedIn = [this](const LoginReply& r, const QString& u, const QString& p,
                                bool remember) {
            signedIn << r.uid + u'|' + r.sessid + u'|' + u + u'|' + p + u'|' +
                            QString::number(remember ? 1 : 0);
        };
        form->endApplication = [this] { ++ends; };
        form->openMemberPage = [this] { opened << QStringLiteral("member"); };
        form->openRegisterPage = [this] { opened << QStringLiteral("register"); };
        form->showSuccessBox = [this] { ++boxes; };
    }

    void type(const QString& user, const QString& password) {
        form->user()->setText(user);
        form->passwd()->setText(password);
    }
    void key(QWidget* to, int k) {
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
        QApplication::sendEvent(to, &press);
    }
    void clickNote() {
        const QPointF at(5, 5);
        QMouseEvent release(QEvent::MouseButtonRelease, at, form->notelabel()->mapToGlobal(at),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(form->notelabel(), &release);
    }
    QString note() const { return form->notelabel()->text(); }

    std::unique_ptr<Tauform> form;
    std::vector<Sent> sent;
    QStringList signedIn;
    QStringList opened;
    int ends = 0;
    int boxes = 0;
};

TEST_F(TauformTest, CaptionsAndSizes) {
    EXPECT_EQ(form->windowTitle(), QStringLiteral("会员登录"));
    EXPECT_TRUE(form->isModal());
    EXPECT_EQ(form->size(), QSize(300, 233));
    EXPECT_EQ(form->minimumSize(), QSize(300, 233));
    EXPECT_EQ(form->maximumSize(), QSize(300, 233));
    EXPECT_EQ(form->RzGroupBox1()->title(), QStringLiteral("朗鸥会员登录"));
    const auto text = [this](const char* name) {
        const auto* l = form->findChild<QLabel*>(QString::fromLatin1(name));
        return l ? l->text() : QStringLiteral("<missing>");
    };
    EXPECT_EQ(text("Label1"), QStringLiteral("会员:"));
    EXPECT_EQ(text("Label3"), QStringLiteral("可使用注册手机号码或邮箱地址"));
    EXPECT_EQ(text("Label2"), QStringLiteral("密码:"));
    EXPECT_EQ(form->passwd()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(form->user()->echoMode(), QLineEdit::Normal);
    EXPECT_EQ(form->rembercb()->text(), QStringLiteral("记住帐户 自动登录"));
    EXPECT_FALSE(form->rembercb()->isChecked());
    EXPECT_EQ(note(), QStringLiteral("管理您的会员帐户请访问 www.langou-signals.cn"));
    EXPECT_EQ(form->notelabel()->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
    EXPECT_EQ(form->notelabel()->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(form->submitbt()->text(), QStringLiteral("登录"));
    EXPECT_EQ(form->RzButton1()->text(), QStringLiteral("注册"));
    EXPECT_EQ(form->cancel()->text(), QStringLiteral("取消"));
    // Every control lies inside the dialog.
    for (QWidget* w : form->findChildren<QWidget*>()) {
        if (w->isWindow())
            continue;
        const QRect r(w->mapTo(form.get(), QPoint(0, 0)), w->size());
        EXPECT_TRUE(form->rect().contains(r)) << w->objectName().toStdString();
    }
}

TEST_F(TauformTest, ShowsCentredOnTheScreenAndModal) {
    QRect client;
    QRect frame;
    bool modal = false;
    QTimer::singleShot(0, form.get(), [&] {
        client = form->geometry();
        frame = form->frameGeometry();
        modal = QApplication::activeModalWidget() == form.get();
        form->dismissForExit();
    });
    form->showLogin();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    // Centred up to the window frame, whose size the platform decides.
    const int frameSlack = frame.width() - client.width() + frame.height() - client.height();
    EXPECT_LE((client.center() - screen.center()).manhattanLength(), frameSlack + 2);
    EXPECT_EQ(client.size(), QSize(300, 233));
    EXPECT_TRUE(modal);
    EXPECT_EQ(ends, 0);
}

TEST_F(TauformTest, EmptyFieldsAreRefused) {
    for (const auto& [u, p] : {std::pair{"", ""}, {"demo", ""}, {"", "demo123"}}) {
        type(QString::fromUtf8(u), QString::fromUtf8(p));
        form->submitbtClick();
        EXPECT_EQ(note(), QStringLiteral("登录信息不能为空."));
        EXPECT_TRUE(form->submitbt()->isEnabled());
    }
    EXPECT_TRUE(sent.empty());
}

TEST_F(TauformTest, OneRequestAtATime) {
    type("demo", "demo123");
    form->submitbtClick();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].user, QStringLiteral("demo"));
    EXPECT_EQ(sent[0].password, QStringLiteral("demo123"));
    EXPECT_EQ(note(), QStringLiteral("请稍侯..."));
    EXPECT_FALSE(form->submitbt()->isEnabled());
    form->submitbtClick();
    key(form->passwd(), Qt::Key_Return);
    EXPECT_EQ(sent.size(), 1u);
}

TEST_F(TauformTest, EnterInThePasswordFieldSubmitsElsewhereNothing) {
    type("demo", "demo123");
    key(form->user(), Qt::Key_Return);
    EXPECT_TRUE(sent.empty());
    key(form->passwd(), Qt::Key_Enter);
    EXPECT_EQ(sent.size(), 1u);
}

struct ReplyCase {
    const char* name;
    const char* reply;
    bool ok;
};

void PrintTo(const ReplyCase& c, std::ostream* os) {
    *os << c.name;
}

class TauformReplyTest : public TauformTest, public ::testing::WithParamInterface<ReplyCase> {};

TEST_P(TauformReplyTest, AuthResult) {
    const ReplyCase& c = GetParam();
    type("demo", "demo123");
    form->submitbtClick();
    ASSERT_EQ(sent.size(), 1u);
    sent[0].done(QString::fromUtf8(c.reply));
    EXPECT_TRUE(form->submitbt()->isEnabled());
    EXPECT_FALSE(form->requestOut());
    if (c.ok) {
        EXPECT_EQ(boxes, 1);
        EXPECT_EQ(signedIn, QStringList{QStringLiteral("20001|member-s1|demo|demo123|0")});
        EXPECT_EQ(form->result(), QDialog::Accepted);
        EXPECT_TRUE(form->passwd()->text().isEmpty());
    } else {
        EXPECT_EQ(note(), QStringLiteral("验证失败！"));
        EXPECT_EQ(boxes, 0);
        EXPECT_TRUE(signedIn.isEmpty());
        EXPECT_EQ(form->passwd()->text(), QStringLiteral("demo123"));
        // The note no longer shows the design text: a click opens nothing.
        clickNote();
        EXPECT_TRUE(opened.isEmpty());
    }
    EXPECT_EQ(ends, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TauformReplyTest,
    ::testing::Values(
        ReplyCase{"NotJson", "<html>502</html>", false},
        ReplyCase{"Lenient", "{status:1,sessid:'m'}", false},
        ReplyCase{"StatusZero", R"({"status":0,"error":"用户名或密码错误","errno":"10000101"})",
                  false},
        ReplyCase{"Fallback", R"({"status":0,"error":"系统错误，请重试！","errno":"10000000"})",
                  false},
        ReplyCase{"StatusOne", R"({"status":1,"UID":"20001","sessid":"member-s1"})", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TauformTest, FailedLoginCanBeRetried) {
    type("demo", "wrong");
    form->submitbtClick();
    sent[0].done(QStringLiteral(R"({"status":0})"));
    form->rembercb()->setChecked(true);
    form->passwd()->setText(QStringLiteral("pa###ss"));
    key(form->passwd(), Qt::Key_Return);
    ASSERT_EQ(sent.size(), 2u);
    sent[1].done(kOk);
    EXPECT_EQ(signedIn, QStringList{QStringLiteral("20001|member-s1|demo|pa###ss|1")});
}

TEST_F(TauformTest, TheAcceptedLoginIsTheOneSentNotWhatTheFieldsHoldLater) {
    type("demo", "demo123");
    form->submitbtClick();
    type("other", "typed-later");
    sent[0].done(kOk);
    EXPECT_EQ(signedIn, QStringList{QStringLiteral("20001|member-s1|demo|demo123|0")});
}

TEST_F(TauformTest, CancelEndsTheApplicationAndALateReplyChangesNothing) {
    type("demo", "demo123");
    form->submitbtClick();
    form->cancel()->click();
    EXPECT_EQ(ends, 1);
    sent[0].done(kOk);
    EXPECT_EQ(boxes, 0);
    EXPECT_TRUE(signedIn.isEmpty());
}

TEST_F(TauformTest, EscapeAndTheCloseBoxEndTheApplication) {
    form->show();
    key(form->user(), Qt::Key_Escape);
    EXPECT_EQ(ends, 1);
    EXPECT_FALSE(form->isVisible());
    form->show();
    form->close();
    EXPECT_EQ(ends, 2);
    EXPECT_FALSE(form->isVisible());
}

TEST_F(TauformTest, ExitDismissesWithoutEndingAgainAndDropsTheReply) {
    form->show();
    type("demo", "demo123");
    form->submitbtClick();
    form->dismissForExit();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(ends, 0);
    sent[0].done(kOk);
    EXPECT_EQ(boxes, 0);
    EXPECT_TRUE(signedIn.isEmpty());
}

TEST_F(TauformTest, ExitWhileTheSuccessBoxShowsSignsNothingIn) {
    form->showSuccessBox = [this] {
        ++boxes;
        form->dismissForExit();
    };
    type("demo", "demo123");
    form->submitbtClick();
    sent[0].done(kOk);
    EXPECT_EQ(boxes, 1);
    EXPECT_TRUE(signedIn.isEmpty());
}

TEST_F(TauformTest, NoteOpensTheMemberPageOnlyWithItsDesignText) {
    clickNote();
    EXPECT_EQ(opened, QStringList{QStringLiteral("member")});
    form->submitbtClick(); // empty fields: the note shows the refusal
    clickNote();
    EXPECT_EQ(opened, QStringList{QStringLiteral("member")});
    form->RzButton1()->click();
    EXPECT_EQ(opened, (QStringList{"member", "register"}));
}

TEST_F(TauformTest, ReopenedAfterALoginStartsFromTheDesignNote) {
    type("demo", "demo123");
    form->submitbtClick();
    sent[0].done(kOk);
    ASSERT_EQ(note(), QStringLiteral("请稍侯..."));
    QString shownNote;
    QTimer::singleShot(0, form.get(), [&] {
        shownNote = note();
        form->dismissForExit();
    });
    form->showLogin();
    EXPECT_EQ(shownNote, QStringLiteral("管理您的会员帐户请访问 www.langou-signals.cn"));
}

} // namespace
