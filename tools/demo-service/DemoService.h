#pragma once

#include <httplib.h>

#include <cstdint>
#include <mutex>
#include <string>

namespace demo {

// Shared by the routes of the demo service. Each server runs its handlers on its own thread
// pool, so everything mutable sits behind `mutex`.
struct DemoConfig {
    std::string host = "127.0.0.1";
    int dataPort = 8801;
    int pagePort = 8802;
    int webPort = 8803;
    std::string sessid = "demo-session-0001";
    std::int64_t uid = 10086;
    // The signal page raises notices, pushes instant trades and adds news on its own timers
    // (off for tests that drive the pages themselves).
    bool liveEvents = true;
};

// Data server: /sync/<sessid>, /chart/..., POST /<action>/<sessid>, /filelist/sound/<name>.
void registerDataRoutes(httplib::Server& server, const DemoConfig& config);
// A short chime as a RIFF/WAVE file (the demo's "alert.wav"), made by the data routes.
std::string makeAlertWav();
// Page server: /tools/... pages, /filelist/... files.
void registerPageRoutes(httplib::Server& server, const DemoConfig& config);
// Public web site: /, /price.php, /register.php.
void registerWebRoutes(httplib::Server& server, const DemoConfig& config);

} // namespace demo
