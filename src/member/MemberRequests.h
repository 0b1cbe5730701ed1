#pragma once

#include <QString>

namespace kovan {

// The two API calls of member sign-in and sign-out, as the request worker's parameter text
// (name=value lines, see FormBody.h), and the login reply. Any thread.

// "clientlogin": the user as typed, the password scrambled with the built-in key, the client
// key as it is, in this order.
QString loginParameters(const QString& user, const QString& password, const QString& clientKey);
// "logout": one line, logout=1.
QString logoutParameters();

// A login reply: a JSON object (standard JSON only) whose status is 1. `uid` and `sessid` are
// read as texts (a numeric UID is written in its shortest form).
struct LoginReply {
    bool ok = false;
    QString uid;
    QString sessid;

    static LoginReply parse(const QString& text);
};

} // namespace kovan
