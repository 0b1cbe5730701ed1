#include "member/MemberRequests.h"

#include "core/JsonParams.h"
#include "core/ProgramState.h"
#include "core/Scramble.h"

namespace kovan {

QString loginParameters(const QString& user, const QString& password, const QString& clientKey) {
    return QStringLiteral("user=") + user + QStringLiteral("\r\npasswd=") + scrambleStr(password) +
           QStringLiteral("\r\nckey=") + clientKey;
}

QString logoutParameters() {
    return QStringLiteral("logout=1");
}

LoginReply LoginReply::parse(const QString& text) {
    bool isObject = false;
    const QJsonObject o = parseJsonObject(text, &isObject);
    LoginReply r;
    if (!isObject || jsonInt(o, u"status") != 1)
        return r;
    // A session id the pages and addresses could not carry safely (control characters, "..",
    // an endless text) is a broken reply, not a session.
    const QString sessid = jsonText(o, u"sessid");
    if (!sessid.isEmpty() && !isUsableSessid(sessid))
        return r;
    r.ok = true;
    r.uid = jsonText(o, u"UID");
    r.sessid = sessid;
    return r;
}

} // namespace kovan
