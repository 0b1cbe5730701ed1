#include "member/MemberModule.h"

#include "core/Lifecycle.h"
#include "core/LogScrubber.h"
#include "core/ProgramState.h"
#include "core/Scramble.h"
#include "core/Trace.h"
#include "core/Utils.h"
#include "member/Tauform.h"

namespace kovan {

MemberModule::MemberModule() : m_auform(std::make_unique<Tauform>()) {}

MemberModule::~MemberModule() = default;

void MemberModule::registerCommands(CommandRegistry&) {}

void MemberModule::addSteps(Lifecycle& lifecycle) {
    lifecycle.onStart(StartStep::SignIn, [this] { automaticLogin(); });
}

void MemberModule::automaticLogin() {
    const QString authInfo = program().settings.value(u"AUTHINFO");
    if (authInfo.isEmpty())
        return;
    // Text that is not hexadecimal throws: the error handler drops it, start-up is over.
    const QString account = unscrambleStr(authInfo);
    logScrubber().addSecret(account);
    const QStringList pieces = splitStr(account, QStringLiteral("###"));
    for (qsizetype i = 1; i < pieces.size(); ++i)
        logScrubber().addSecret(pieces[i]); // the password (or its pieces)
    if (pieces.size() != 2)
        return; // a password holding "###" cannot be told apart: no automatic login
    trace(QStringLiteral("automatic login"));
    loginRequest(pieces[0], pieces[1]);
}

void MemberModule::logIMGClick() {}

void MemberModule::loginRequest(const QString&, const QString&) {}

} // namespace kovan
