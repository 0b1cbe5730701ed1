#include "member/Tauform.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QScreen>

namespace kovan {

namespace {

QLabel* label(const QString& name, const QString& text, const QRect& bounds, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setGeometry(bounds);
    return l;
}

QLineEdit* edit(const QString& name, const QRect& bounds, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setGeometry(bounds);
    return e;
}

QPushButton* button(const QString& name, const QString& caption, const QRect& bounds,
                    QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setGeometry(bounds);
    // Enter is the password field's alone: no button of the dialog is a default button.
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

} // namespace

Tauform::Tauform(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("auform"));
    setWindowTitle(QStringLiteral("会员登录"));
    setModal(true);
    setFixedSize(300, 233);

    m_RzGroupBox1 = new QGroupBox(QStringLiteral("朗鸥会员登录"), this);
    m_RzGroupBox1->setObjectName(QStringLiteral("RzGroupBox1"));
    m_RzGroupBox1->setGeometry(8, 6, 284, 178);
    QWidget* box = m_RzGroupBox1;
    m_Label1 = label(QStringLiteral("Label1"), QStringLiteral("会员:"), {16, 28, 40, 22}, box);
    m_user = edit(QStringLiteral("user"), {58, 28, 206, 22}, box);
    m_Label3 = label(QStringLiteral("Label3"), QStringLiteral("可使用注册手机号码或邮箱地址"),
                     {58, 52, 206, 18}, box);
    m_Label3->setStyleSheet(QStringLiteral("color:#808080"));
    m_Label2 = label(QStringLiteral("Label2"), QStringLiteral("密码:"), {16, 76, 40, 22}, box);
    m_passwd = edit(QStringLiteral("passwd"), {58, 76, 206, 22}, box);
    m_passwd->setEchoMode(QLineEdit::Password);
    m_passwd->setStyleSheet(QStringLiteral("lineedit-password-character: 42")); // "*"
    m_rembercb = new QCheckBox(QStringLiteral("记住帐户 自动登录"), box);
    m_rembercb->setObjectName(QStringLiteral("rembercb"));
    m_rembercb->setGeometry(58, 106, 206, 22);
    m_notelabel = label(QStringLiteral("notelabel"), QString(), {8, 144, 268, 22}, box);
    m_notelabel->setAlignment(Qt::AlignCenter);
    m_notelabel->setCursor(Qt::PointingHandCursor);
    m_notelabel->installEventFilter(this);

    m_submitbt =
        button(QStringLiteral("submitbt"), QStringLiteral("登录"), {40, 194, 66, 27}, this);
    m_RzButton1 =
        button(QStringLiteral("RzButton1"), QStringLiteral("注册"), {117, 194, 66, 27}, this);
    m_cancel = button(QStringLiteral("cancel"), QStringLiteral("取消"), {194, 194, 66, 27}, this);

    connect(m_submitbt, &QPushButton::clicked, this, &Tauform::submitbtClick);
    connect(m_RzButton1, &QPushButton::clicked, this, &Tauform::RzButton1Click);
    connect(m_cancel, &QPushButton::clicked, this, &Tauform::cancelClick);
    connect(m_passwd, &QLineEdit::returnPressed, this, [this] {
        if (m_submitbt->isEnabled())
            submitbtClick();
    });

    showSuccessBox = [this] { showDefaultSuccessBox(); };
    m_notelabel->setText(designNote());
}

void Tauform::setSiteName(const QString& host) {
    const bool showingDesign = m_notelabel->text() == designNote();
    m_siteName = host;
    if (showingDesign)
        m_notelabel->setText(designNote());
}

QString Tauform::designNote() const {
    return QStringLiteral("管理您的会员帐户请访问 ") + m_siteName;
}

void Tauform::showLogin() {
    if (isVisible()) {
        raise();
        activateWindow();
        return;
    }
    // A dialog opened afresh (after a successful login) starts from its design note.
    if (!m_requestOut) {
        m_notelabel->setText(designNote());
        m_submitbt->setEnabled(true);
    }
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    m_user->setFocus();
    exec();
}

void Tauform::submitbtClick() {
    if (m_requestOut)
        return;
    const QString user = m_user->text();
    const QString password = m_passwd->text();
    if (user.isEmpty() || password.isEmpty()) {
        m_notelabel->setText(QStringLiteral("登录信息不能为空."));
        return;
    }
    m_notelabel->setText(QStringLiteral("请稍侯..."));
    m_submitbt->setEnabled(false);
    m_requestOut = true;
    m_sentUser = user;
    m_sentPassword = password;
    if (!sendLogin)
        return;
    const quint64 serial = m_serial;
    sendLogin(user, password, [guard = QPointer<Tauform>(this), serial](const QString& reply) {
        if (guard && guard->m_serial == serial)
            guard->authResult(reply);
    });
}

void Tauform::authResult(const QString& reply) {
    if (!m_requestOut)
        return;
    m_requestOut = false;
    const QString user = std::exchange(m_sentUser, QString());
    const QString password = std::exchange(m_sentPassword, QString());
    const LoginReply r = LoginReply::parse(reply);
    if (!r.ok) {
        m_notelabel->setText(QStringLiteral("验证失败！"));
        m_submitbt->setEnabled(true);
        return;
    }
    m_submitbt->setEnabled(true);
    const quint64 serial = m_serial;
    const QPointer<Tauform> guard(this);
    if (showSuccessBox)
        showSuccessBox();
    if (!guard || m_serial != serial)
        return; // the dialog was closed, or the application is ending, while the box showed
    if (signedIn)
        signedIn(r, user, password, m_rembercb->isChecked());
    m_passwd->clear();
    closeQuietly(QDialog::Accepted);
}

void Tauform::cancelClick() {
    reject();
}

void Tauform::reject() {
    if (!m_closingQuietly)
        FormClose();
    QDialog::reject();
}

void Tauform::FormClose() {
    abandonRequest();
    if (endApplication)
        endApplication();
}

void Tauform::notelabelClick() {
    if (m_notelabel->text().contains(QStringLiteral("管理")) && openMemberPage)
        openMemberPage();
}

void Tauform::RzButton1Click() {
    if (openRegisterPage)
        openRegisterPage();
}

void Tauform::dismissForExit() {
    abandonRequest();
    if (isVisible())
        closeQuietly(QDialog::Rejected);
}

void Tauform::abandonRequest() {
    ++m_serial;
    m_requestOut = false;
    m_sentUser.clear();
    m_sentPassword.clear();
}

void Tauform::closeQuietly(int result) {
    m_closingQuietly = true;
    done(result);
    m_closingQuietly = false;
}

void Tauform::showDefaultSuccessBox() {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("成功"),
                    QStringLiteral("恭喜您，验证成功！"), QMessageBox::Ok, this);
    box.exec();
}

bool Tauform::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_notelabel && event->type() == QEvent::MouseButtonRelease) {
        const auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() == Qt::LeftButton && m_notelabel->rect().contains(e->position().toPoint()))
            notelabelClick();
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace kovan
