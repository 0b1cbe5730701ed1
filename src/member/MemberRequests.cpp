#include "member/MemberRequests.h"

#include "core/JsonParams.h"
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
    r.ok = true;
    r.uid = jsonText(o, u"UID");
    r.sessid = jsonText(o, u"sessid");
    return r;
}

} // namespace kovan
