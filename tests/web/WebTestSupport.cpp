#include "WebTestSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <QWebEnginePage>

#include <httplib.h>

#include <memory>
#include <thread>

namespace kovan::webtest {

PageServer::PageServer() : m_server(std::make_unique<httplib::Server>()) {
    m_server->Get(".*", [this](const httplib::Request& req, httplib::Response& res) {
        std::unique_lock lock(m_mutex);
        ++m_arrived[req.path];
        m_released.wait(lock, [&] { return m_stopping || !m_held.count(req.path); });
        const auto it = m_pages.find(req.path);
        if (it == m_pages.end()) {
            res.status = 404;
            res.set_content("not here", "text/plain");
            return;
        }
        res.set_content(it->second, "text/html; charset=utf-8");
    });
    // The engine keeps connections open; a short keep-alive lets stop() finish quickly.
    m_server->set_keep_alive_timeout(1);
    m_port = m_server->bind_to_any_port("127.0.0.1");
    m_thread = new std::thread([this] { m_server->listen_after_bind(); });
    while (!m_server->is_running())
        std::this_thread::yield();
}

PageServer::~PageServer() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_released.notify_all();
    m_server->stop();
    m_thread->join();
    delete m_thread;
}

QString PageServer::root() const {
    return QStringLiteral("http://127.0.0.1:") + QString::number(m_port);
}

void PageServer::setPage(const std::string& path, const std::string& html) {
    std::lock_guard lock(m_mutex);
    m_pages[path] = html;
}

void PageServer::removePage(const std::string& path) {
    std::lock_guard lock(m_mutex);
    m_pages.erase(path);
}

void PageServer::holdPage(const std::string& path) {
    std::lock_guard lock(m_mutex);
    m_held.insert(path);
}

void PageServer::releasePage(const std::string& path) {
    {
        std::lock_guard lock(m_mutex);
        m_held.erase(path);
    }
    m_released.notify_all();
}

int PageServer::requestCount(const std::string& path) {
    std::lock_guard lock(m_mutex);
    const auto it = m_arrived.find(path);
    return it == m_arrived.end() ? 0 : it->second;
}

QVariant runJs(QWebEnginePage* page, const QString& code, int ms) {
    // The answer may come after a time-out: it lands in shared state, never on this stack.
    struct Answer {
        QVariant value;
        bool done = false;
    };
    auto answer = std::make_shared<Answer>();
    QEventLoop loop;
    QPointer<QEventLoop> guard(&loop);
    page->runJavaScript(code, [answer, guard](const QVariant& v) {
        answer->value = v;
        answer->done = true;
        if (guard)
            guard->quit();
    });
    if (!answer->done) {
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return answer->done ? answer->value : QVariant();
}

bool loadAndWait(QWebEnginePage* page, const QUrl& url, int ms) {
    auto finished = std::make_shared<int>(-1); // -1 pending, 0 failed, 1 ok
    auto c = QObject::connect(page, &QWebEnginePage::loadFinished,
                              [finished](bool good) { *finished = good ? 1 : 0; });
    page->load(url);
    waitUntil([&] { return *finished >= 0; }, ms);
    QObject::disconnect(c);
    return *finished == 1;
}

} // namespace kovan::webtest
