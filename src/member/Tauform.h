#pragma once

#include "member/MemberRequests.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kovan {

// The member login dialog "会员登录": a fixed 300 × 233 dialog centred on the screen, shown
// modally. It ends either in a successful login (closed, the program runs on) or in the end of
// the program: "取消", the close box, Alt+F4 and Escape all tell the application to end.
//
// One login request at a time ("登录" is disabled while it is out). A reply that comes back
// after the dialog was closed, or after the exit procedure dismissed it, changes nothing. The
// typed password is kept only in its field and in the request; it is never traced.
//
// Created hidden at start-up and kept for the whole run. GUI thread only.
class Tauform : public QDialog {
    Q_OBJECT
public:
    // Delivers the reply text of one "clientlogin" request.
    using ReplyHandler = std::function<void(const QString& reply)>;

    explicit Tauform(QWidget* parent = nullptr);

    // Hooks, set by the member module.
    // Sends "clientlogin" for `user` and `password`; `done` gets the reply (or the fallback).
    std::function<void(const QString& user, const QString& password, ReplyHandler done)> sendLogin;
    // The accepted login (after the message box): member state, settings, session.
    std::function<void(const LoginReply& reply, const QString& user, const QString& password,
                       bool remember)>
        signedIn;
    // Tells the application to end (cancel, close).
    std::function<void()> endApplication;
    // The note's member page and the "注册" button's register page, in the system's browser.
    std::function<void()> openMemberPage;
    std::function<void()> openRegisterPage;
    // The message box "恭喜您，验证成功！" (caption "成功", an OK button); returns once it is
    // closed. Tests replace it.
    std::function<void()> showSuccessBox;

    // The note's design text names this host.
    void setSiteName(const QString& host);

    // Shows the dialog modally, centred on the screen, and returns when it closes. A dialog
    // that already shows is only raised.
    void showLogin();

    // Handlers.
    void submitbtClick();
    void authResult(const QString& reply);
    void cancelClick();
    void FormClose();
    void notelabelClick();
    void RzButton1Click();

    // The exit procedure's step: hides the dialog without telling the application to end
    // again; a request still out is forgotten.
    void dismissForExit();

    bool requestOut() const { return m_requestOut; }
    QGroupBox* RzGroupBox1() const { return m_RzGroupBox1; }
    QLineEdit* user() const { return m_user; }
    QLineEdit* passwd() const { return m_passwd; }
    QCheckBox* rembercb() const { return m_rembercb; }
    QLabel* notelabel() const { return m_notelabel; }
    QPushButton* submitbt() const { return m_submitbt; }
    QPushButton* RzButton1() const { return m_RzButton1; }
    QPushButton* cancel() const { return m_cancel; }

public Q_SLOTS:
    // Escape, the close box and "取消" all land here: FormClose, then the dialog closes.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString designNote() const;
    // Forgets the request that is out: its reply will change nothing.
    void abandonRequest();
    // Closes the dialog without FormClose (a successful login, the exit procedure).
    void closeQuietly(int result);
    void showDefaultSuccessBox();

    QGroupBox* m_RzGroupBox1 = nullptr;
    QLabel* m_Label1 = nullptr;
    QLineEdit* m_user = nullptr;
    QLabel* m_Label3 = nullptr;
    QLabel* m_Label2 = nullptr;
    QLineEdit* m_passwd = nullptr;
    QCheckBox* m_rembercb = nullptr;
    QLabel* m_notelabel = nullptr;
    QPushButton* m_submitbt = nullptr;
    QPushButton* m_RzButton1 = nullptr;
    QPushButton* m_cancel = nullptr;

    QString m_siteName;
    bool m_requestOut = false;
    // Bumped whenever a request is forgotten; a reply for an older serial is dropped.
    quint64 m_serial = 0;
    // What was sent: the reply vouches for these, not for what the fields hold by then.
    QString m_sentUser;
    QString m_sentPassword;
    bool m_closingQuietly = false;
};

} // namespace kovan
