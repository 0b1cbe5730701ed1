#include "member/MemberSession.h"

#include "core/ContentSections.h"
#include "core/Scramble.h"
#include "core/Trace.h"
#include "core/Utils.h"

#include <exception>

namespace kovan {

QString MemberSession::guestLabel() {
    return QStringLiteral("    访客    ");
}

QString MemberSession::memberLabel(const QString& uid) {
    return QStringLiteral("    ") + uid + QStringLiteral("    ");
}

QStringList MemberSession::rememberedLogin(const QString& authInfo) {
    if (authInfo.isEmpty())
        return {};
    const QStringList pieces = splitStr(unscrambleStr(authInfo), QStringLiteral("###"));
    return pieces.size() == 2 ? pieces : QStringList();
}

QString MemberSession::rememberLogin(const QString& user, const QString& password) {
    return scrambleStr(user + QStringLiteral("###") + password);
}

bool MemberSession::loginResult(const QString& replyText) {
    const LoginReply reply = LoginReply::parse(replyText);
    if (!reply.ok)
        return false;
    showMember(reply.uid);
    m_settings->setValue(u"AUTHKEY", reply.sessid);
    save();
    m_sessionState->setSessid(reply.sessid);
    m_sessionState->sessInfoText = replyText;
    trace(QStringLiteral("member signed in"));
    if (m_effects.forceReload)
        m_effects.forceReload(contentSection(ContentSection::Signals).pageKeyText());
    return true;
}

void MemberSession::dialogSignedIn(const LoginReply& reply, const QString& user,
                                   const QString& password, bool remember) {
    showMember(reply.uid);
    m_settings->setValue(u"AUTHKEY", reply.sessid);
    if (remember)
        m_settings->setValue(u"AUTHINFO", rememberLogin(user, password));
    save();
    m_sessionState->setSessid(reply.sessid);
    trace(QStringLiteral("member signed in"));
}

void MemberSession::logoutResult() {
    m_signedIn = false;
    if (m_effects.showMemberState)
        m_effects.showMemberState(false, guestLabel());
    m_settings->setValue(u"AUTHINFO", QString());
    save();
    trace(QStringLiteral("member signed out"));
    if (m_effects.forceReload)
        m_effects.forceReload(QStringLiteral("all"));
}

void MemberSession::showMember(const QString& uid) {
    m_signedIn = true;
    if (m_effects.showMemberState)
        m_effects.showMemberState(true, memberLabel(uid));
}

void MemberSession::save() {
    try {
        m_settings->save();
    } catch (const std::exception& e) {
        trace(QStringLiteral("config.dat not saved: ") + QString::fromUtf8(e.what()));
    }
}

} // namespace kovan
