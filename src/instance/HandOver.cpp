#include "instance/HandOver.h"

#include "core/FolderLock.h"
#include "core/Trace.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QThread>

namespace kovan {

namespace {

constexpr int kQuitWaitMs = 5000; // kovan --quit: for the asked client to end

} // namespace

HandOver::HandOver(QString socketPath, FolderLock& lock, QString folder)
    : m_socketPath(std::move(socketPath)), m_lock(lock), m_folder(std::move(folder)) {}

HandOverDecision::Peer HandOver::ask(const QByteArray& line) const {
    using Peer = HandOverDecision::Peer;
    if (m_socketPath.isEmpty())
        return Peer::Absent;
    QLocalSocket socket;
    socket.connectToServer(m_socketPath);
    // A local connect is answered at once: refused, missing, or accepted into the backlog.
    if (!socket.waitForConnected(m_answerTimeoutMs))
        return Peer::Absent;
    QDeadlineTimer deadline(m_answerTimeoutMs);
    socket.write(line);
    socket.waitForBytesWritten(int(deadline.remainingTime()));
    QByteArray reply;
    while (!reply.endsWith('\n') && reply.size() < HandOverRequest::kMaxLine) {
        if (socket.bytesAvailable() == 0 && !socket.waitForReadyRead(int(deadline.remainingTime())))
            break;
        reply += socket.readAll();
    }
    if (reply == HandOverRequest::kReply)
        return Peer::Answered;
    // Closed without taking the request (an ending client, another account's socket): nobody
    // to hand over to. Still open and silent: stuck.
    return socket.state() == QLocalSocket::ConnectedState && deadline.hasExpired() ? Peer::Silent
                                                                                   : Peer::Absent;
}

HandOverDecision::Step HandOver::lookUntilDecided(const QByteArray& line, bool quitting) {
    using Step = HandOverDecision::Step;
    QElapsedTimer since;
    since.start();
    HandOverDecision::Look look;
    look.quitting = quitting;
    for (;;) {
        look.peer = ask(line);
        look.lockTaken = look.peer != HandOverDecision::Peer::Answered && m_lock.tryTake();
        look.lockUnusable =
            look.peer != HandOverDecision::Peer::Answered && !look.lockTaken && !m_lock.busy();
        look.holderPhase =
            look.lockTaken ? FolderLock::Phase::Unknown : FolderLock::readPhase(m_lock.path());
        look.elapsedMs = since.elapsed();
        const Step step = HandOverDecision::decide(look);
        if (step != Step::Wait)
            return step;
        if (!look.sawHolder)
            trace(QStringLiteral("hand-over: waiting for the client of %1, which is %2")
                      .arg(m_folder, look.holderPhase == FolderLock::Phase::Ending
                                         ? QStringLiteral("ending")
                                         : QStringLiteral("starting")));
        look.sawHolder = true;
        QThread::msleep(HandOverDecision::kPollMs);
    }
}

bool HandOver::waitForEnd(int ms) {
    QDeadlineTimer deadline(ms);
    while (!m_lock.tryTake()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(20);
    }
    m_lock.release();
    return true;
}

HandOver::Outcome HandOver::start(const HandOverRequest& request) {
    using Step = HandOverDecision::Step;
    switch (lookUntilDecided(request.line(), false)) {
    case Step::HandedOver:
        return {false, 0, {}};
    case Step::GiveUp:
        return {false, 1,
                QStringLiteral("kovan: the client of %1 neither answers nor ends; nothing started")
                    .arg(m_folder)};
    default:
        return {true, 0, {}};
    }
}

HandOver::Outcome HandOver::quit() {
    using Step = HandOverDecision::Step;
    switch (lookUntilDecided(HandOverRequest{HandOverRequest::Kind::Quit, {}}.line(), true)) {
    case Step::HandedOver:
        if (waitForEnd(kQuitWaitMs))
            return {false, 0, QStringLiteral("kovan: the running client ended")};
        return {false, 1,
                QStringLiteral("kovan: the running client did not end within %1 s")
                    .arg(kQuitWaitMs / 1000)};
    case Step::Ended:
        m_lock.release();
        return {false, 0, QStringLiteral("kovan: the running client ended")};
    case Step::NoClient:
        m_lock.release();
        return {false, 1, QStringLiteral("kovan: no client runs for %1").arg(m_folder)};
    default:
        return {false, 1, QStringLiteral("kovan: the client of %1 does not answer").arg(m_folder)};
    }
}

} // namespace kovan
