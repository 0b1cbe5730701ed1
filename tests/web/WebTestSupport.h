#pragma once

#include "WaitUntil.h"

#include <QString>
#include <QUrl>
#include <QVariant>

#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>

class QWebEnginePage;

namespace httplib {
class Server;
}

namespace kovan::webtest {

// A page server on 127.0.0.1 with a free port, serving fixed pages by exact path (query
// ignored). Pages may be replaced while it runs; the handler threads read under a lock.
class PageServer {
public:
    PageServer();
    ~PageServer();

    int port() const { return m_port; }
    QString root() const; // "http://127.0.0.1:<port>"
    void setPage(const std::string& path, const std::string& html);
    void removePage(const std::string& path);
    // Requests of a held path get no answer until it is released (or the server stops): a
    // page that never finishes loading.
    void holdPage(const std::string& path);
    void releasePage(const std::string& path);
    // Requests of that path that have arrived (held ones included).
    int requestCount(const std::string& path);

private:
    std::unique_ptr<httplib::Server> m_server;
    std::mutex m_mutex;
    std::condition_variable m_released;
    std::map<std::string, std::string> m_pages;
    std::set<std::string> m_held;
    std::map<std::string, int> m_arrived;
    bool m_stopping = false;
    int m_port = 0;
    std::thread* m_thread = nullptr;
};

// Events are handled while waiting (the shared helper).
using test::waitUntil;

// Runs script in the page's main frame and waits for its value (invalid QVariant on time-out).
QVariant runJs(QWebEnginePage* page, const QString& code, int ms = 15000);
// Loads `url` and waits for loadFinished; its ok flag (false on time-out too).
bool loadAndWait(QWebEnginePage* page, const QUrl& url, int ms = 15000);

} // namespace kovan::webtest
