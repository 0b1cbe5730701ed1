#include "web/DeferredReplies.h"

#include "web/BridgeProtocol.h"

#include <QBuffer>
#include <QUrlQuery>
#include <QUuid>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

namespace kovan {

namespace {
// An answer nobody fetched within this time belongs to a page that went away.
constexpr qint64 kStaleMs = 10 * 60 * 1000;
} // namespace

DeferredReplies::DeferredReplies(QObject* parent) : QWebEngineUrlSchemeHandler(parent) {}

void DeferredReplies::registerScheme() {
    QWebEngineUrlScheme scheme(bridge::kScheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::CorsEnabled);
    QWebEngineUrlScheme::registerScheme(scheme);
}

QString DeferredReplies::open() {
    dropStale();
    const QString token = QUuid::createUuid().toString(QUuid::WithoutBraces) +
                          QUuid::createUuid().toString(QUuid::Id128);
    Pending p;
    p.age.start();
    m_pending.insert(token, p);
    return token;
}

void DeferredReplies::complete(const QString& token, const QString& answer) {
    auto it = m_pending.find(token);
    if (it == m_pending.end())
        return;
    if (it->job) {
        QWebEngineUrlRequestJob* job = it->job;
        m_pending.erase(it);
        reply(job, answer);
        return;
    }
    it->answer = answer;
    it->age.restart();
}

void DeferredReplies::requestStarted(QWebEngineUrlRequestJob* job) {
    const QUrl url = job->requestUrl();
    if (url.path() != u"wait") {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    if (!originAllowed || !originAllowed(job->initiator())) {
        reply(job, bridge::errorAnswer(QString::fromLatin1(bridge::kForbidden)));
        return;
    }
    const QString token = QUrlQuery(url).queryItemValue(QStringLiteral("p"));
    auto it = m_pending.find(token);
    if (it == m_pending.end() || it->job) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    if (it->answer) {
        const QString answer = *it->answer;
        m_pending.erase(it);
        reply(job, answer);
        return;
    }
    it->job = job;
}

void DeferredReplies::reply(QWebEngineUrlRequestJob* job, const QString& answer) {
    auto* body = new QBuffer(job); // lives as long as the job reads it
    body->setData(answer.toUtf8());
    body->open(QIODevice::ReadOnly);
    job->reply(QByteArrayLiteral("text/plain;charset=utf-8"), body);
}

void DeferredReplies::dropStale() {
    for (auto it = m_pending.begin(); it != m_pending.end();) {
        if (it->answer && it->age.elapsed() > kStaleMs)
            it = m_pending.erase(it);
        else
            ++it;
    }
}

} // namespace kovan
