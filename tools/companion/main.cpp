// kovan-companion: a stand-in for the companion program that signs the user in and publishes
// the session for the client. It writes {"UID":…, "sessid":…} into the shared session block and
// stays running until it is ended. Started with the single argument "1" (as the client does) it
// behaves the same, with its defaults. The block is always a new one of its own (mode 0600); a
// block of that name that belongs to another account is never written into.

#include "core/SharedBlock.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t g_stop = 0;

void onSignal(int) {
    g_stop = 1;
}

void usage() {
    std::puts("Usage: kovan-companion [--uid N] [--sessid TEXT] [--block NAME] [--once] [1]\n"
              "Publishes a session for the kovan client and stays running until ended.\n"
              "  --uid N        user id (default 10086)\n"
              "  --sessid TEXT  session id (default demo-session-0001)\n"
              "  --block NAME   shared-memory block name (default KOVANUSERSHARE.<uid>)\n"
              "  --once         publish and exit at once");
}

} // namespace

int main(int argc, char** argv) {
    qint64 uid = 10086;
    QString sessid = QStringLiteral("demo-session-0001");
    QString block = kovan::defaultSessionBlockName();
    bool once = false;
    if (const char* env = std::getenv("KOVAN_COMPANION_BLOCK"))
        block = QString::fromLocal8Bit(env);
    if (const char* env = std::getenv("KOVAN_COMPANION_SESSID"))
        sessid = QString::fromLocal8Bit(env);
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        const bool hasNext = i + 1 < argc;
        if (std::strcmp(a, "--uid") == 0 && hasNext)
            uid = std::atoll(argv[++i]);
        else if (std::strcmp(a, "--sessid") == 0 && hasNext)
            sessid = QString::fromLocal8Bit(argv[++i]);
        else if (std::strcmp(a, "--block") == 0 && hasNext)
            block = QString::fromLocal8Bit(argv[++i]);
        else if (std::strcmp(a, "--once") == 0)
            once = true;
        else if (std::strcmp(a, "1") == 0)
            continue; // the client's hand-over argument
        else {
            usage();
            return std::strcmp(a, "--help") == 0 ? 0 : 2;
        }
    }

    const QJsonObject session{{QStringLiteral("UID"), uid}, {QStringLiteral("sessid"), sessid}};
    const QString text = QString::fromUtf8(QJsonDocument(session).toJson(QJsonDocument::Compact));
    QString problem;
    if (!kovan::publishSessionBlock(block, text, &problem)) {
        std::fprintf(stderr, "kovan-companion: session not published in /%s: %s\n",
                     block.toUtf8().constData(), problem.toUtf8().constData());
        return 1;
    }
    std::printf("kovan-companion: published %s in /%s\n", text.toUtf8().constData(),
                block.toUtf8().constData());
    std::fflush(stdout);
    if (once)
        return 0;

    std::signal(SIGTERM, onSignal);
    std::signal(SIGINT, onSignal);
    while (!g_stop)
        ::pause();
    return 0;
}
