#pragma once

#include "WaitUntil.h"

#include <httplib.h>

#include <QString>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kovan::test {

// What the server saw of one request.
struct SeenRequest {
    std::string method;
    std::string path;
    std::string body;
    std::string cookie;
    std::string contentType;
    int remotePort = 0;
};

// An HTTP server on 127.0.0.1 (any free port) answering every path through one scripted
// handler, on its own thread. Records every request.
class TestServer {
public:
    using Handler = std::function<void(const httplib::Request&, httplib::Response&)>;

    explicit TestServer(Handler handler = {}) : m_handler(std::move(handler)) {
        auto route = [this](const httplib::Request& req, httplib::Response& res) {
            {
                std::lock_guard lock(m_mutex);
                m_seen.push_back({req.method, req.path, req.body, req.get_header_value("Cookie"),
                                  req.get_header_value("Content-Type"), req.remote_port});
            }
            Handler h;
            {
                std::lock_guard lock(m_mutex);
                h = m_handler;
            }
            if (h)
                h(req, res);
        };
        m_server.Get(".*", route);
        m_server.Post(".*", route);
        m_port = m_server.bind_to_any_port("127.0.0.1");
        m_thread = std::thread([this] { m_server.listen_after_bind(); });
        while (!m_server.is_running())
            std::this_thread::yield();
    }
    ~TestServer() { stop(); }

    void stop() {
        if (m_thread.joinable()) {
            m_server.stop();
            m_thread.join();
        }
    }
    void setHandler(Handler handler) {
        std::lock_guard lock(m_mutex);
        m_handler = std::move(handler);
    }
    int port() const { return m_port; }
    QString host() const { return QStringLiteral("127.0.0.1"); }
    QString root() const { return QStringLiteral("http://127.0.0.1:%1").arg(m_port); }

    std::vector<SeenRequest> seen() const {
        std::lock_guard lock(m_mutex);
        return m_seen;
    }
    size_t count() const {
        std::lock_guard lock(m_mutex);
        return m_seen.size();
    }

private:
    httplib::Server m_server;
    mutable std::mutex m_mutex;
    Handler m_handler;
    std::vector<SeenRequest> m_seen;
    int m_port = 0;
    std::thread m_thread;
};

// A port on 127.0.0.1 where nothing listens: bound once by the system's choice, then closed.
inline int refusedPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr));
    socklen_t len = sizeof(addr);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    ::close(fd);
    return ntohs(addr.sin_port);
}

} // namespace kovan::test
