// kovan-demo-service: a stand-in for the service the client talks to, on loopback. One process
// serves the data server, the page server and the public web site on three ports.

#include "DemoService.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

httplib::Server* g_servers[3] = {};

void onSignal(int) {
    for (httplib::Server* s : g_servers)
        if (s)
            s->stop();
}

// Debian's cpp-httplib compresses every text reply the client accepts in brotli, at the
// library's default quality (11, meant for files compressed once): some 15 ms of CPU for a
// 10 KB page, and again for every sync reply each second. On loopback that only takes CPU from
// the client it serves, so every reply goes out as it is.
httplib::Server::HandlerResponse sendUncompressed(const httplib::Request& req, httplib::Response&) {
    // The server's own request object, only typed const for the handler.
    const_cast<httplib::Request&>(req).headers.erase("Accept-Encoding");
    return httplib::Server::HandlerResponse::Unhandled;
}

bool validRate(const char* text) {
    char* end = nullptr;
    const double rate = std::strtod(text, &end);
    return end != text && *end == '\0' && rate >= 0.1 && rate <= 100.0;
}

void usage() {
    std::puts(
        "Usage: kovan-demo-service [--host H] [--data-port N] [--page-port N] [--web-port N]\n"
        "                          [--sessid TEXT] [--uid N] [--no-live-events] [--event-rate F]\n"
        "                          [--chart-step-ms N]\n"
        "Serves the data server, page server and web site of the kovan demo on loopback.\n"
        "--no-live-events: nothing happens by itself: the signal page raises no notices, trades\n"
        "  or news, the data server posts nothing to the sections (see /demo/post/SECTION).\n"
        "--event-rate F: the live events come F times as often (0.1 to 100; default 1).\n"
        "--chart-step-ms N: a chart request moves the bids when N ms passed since they last\n"
        "  moved (default 1000; 0: every request, so every chart's last bar keeps moving).");
}

} // namespace

int main(int argc, char** argv) {
    demo::DemoConfig config;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasNext = i + 1 < argc;
        if (a == "--host" && hasNext)
            config.host = argv[++i];
        else if (a == "--data-port" && hasNext)
            config.dataPort = std::atoi(argv[++i]);
        else if (a == "--page-port" && hasNext)
            config.pagePort = std::atoi(argv[++i]);
        else if (a == "--web-port" && hasNext)
            config.webPort = std::atoi(argv[++i]);
        else if (a == "--sessid" && hasNext)
            config.sessid = argv[++i];
        else if (a == "--uid" && hasNext)
            config.uid = std::atoll(argv[++i]);
        else if (a == "--no-live-events")
            config.liveEvents = false;
        else if (a == "--event-rate" && hasNext && validRate(argv[i + 1]))
            config.eventRate = std::atof(argv[++i]);
        else if (a == "--chart-step-ms" && hasNext)
            config.market->setChartStepMs(std::max(0, std::atoi(argv[++i])));
        else {
            usage();
            return a == "--help" ? 0 : 2;
        }
    }

    httplib::Server data, page, web;
    demo::registerDataRoutes(data, config);
    demo::registerPageRoutes(page, config);
    demo::registerVideoRoutes(page);
    demo::registerWebRoutes(web, config);
    g_servers[0] = &data;
    g_servers[1] = &page;
    g_servers[2] = &web;
    std::signal(SIGTERM, onSignal);
    std::signal(SIGINT, onSignal);

    struct Listener {
        httplib::Server* server;
        int port;
        const char* role;
    };
    const Listener listeners[] = {{&data, config.dataPort, "data server"},
                                  {&page, config.pagePort, "page server"},
                                  {&web, config.webPort, "web site"}};
    for (const Listener& l : listeners) {
        l.server->set_pre_routing_handler(sendUncompressed);
        if (!l.server->bind_to_port(config.host, l.port)) {
            std::fprintf(stderr, "kovan-demo-service: cannot listen on %s:%d (%s)\n",
                         config.host.c_str(), l.port, l.role);
            return 1;
        }
        std::printf("kovan-demo-service: %s on http://%s:%d/\n", l.role, config.host.c_str(),
                    l.port);
    }
    std::fflush(stdout);

    std::vector<std::thread> threads;
    for (const Listener& l : listeners)
        threads.emplace_back([s = l.server] { s->listen_after_bind(); });
    for (std::thread& t : threads)
        t.join();
    return 0;
}
