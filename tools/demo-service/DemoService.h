#pragma once

#include "DemoMarket.h"

#include <httplib.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

namespace demo {

// The demo's member sign-in, shared by the data server (login, logout, sync) and the page
// server (member content). The demo serves one client: while its member is signed in, the
// member session is the client's session. Handlers run on the servers' thread pools.
class DemoMember {
public:
    void signIn() {
        std::lock_guard lock(m_mutex);
        m_signedIn = true;
        m_fresh = true;
    }
    void signOut() {
        std::lock_guard lock(m_mutex);
        m_signedIn = false;
        m_fresh = false;
    }
    bool signedIn() const {
        std::lock_guard lock(m_mutex);
        return m_signedIn;
    }
    // True once after each sign-in: the first poll with the member session takes it.
    bool takeFreshSignIn() {
        std::lock_guard lock(m_mutex);
        return std::exchange(m_fresh, false);
    }

private:
    mutable std::mutex m_mutex;
    bool m_signedIn = false;
    bool m_fresh = false;
};

// Shared by the routes of the demo service. Each server runs its handlers on its own thread
// pool, so everything mutable sits behind a lock (see DemoMember and the data routes' state).
struct DemoConfig {
    std::string host = "127.0.0.1";
    int dataPort = 8801;
    int pagePort = 8802;
    int webPort = 8803;
    std::string sessid = "demo-session-0001"; // the guest session the companion publishes
    std::int64_t uid = 10086;
    // The signal page raises notices, pushes instant trades and adds news on its own timers,
    // and the data server posts to the sections and adds news every so often (off for tests
    // that drive the pages themselves and for measuring an idle client).
    bool liveEvents = true;
    // How much faster than a real service's pace the live events come (1: a notice about every
    // 40 s, a trade every 15 s, ...; 10: ten times as often). For soaking a day in an hour.
    double eventRate = 1.0;
    // The demo member: user "demo", password "demo123".
    std::string memberUser = "demo";
    std::string memberPassword = "demo123";
    std::string memberSessid = "demo-member-7001";
    std::int64_t memberUid = 20001;
    std::shared_ptr<DemoMember> member = std::make_shared<DemoMember>();
    // The bids and chart bars, shared by the data server and the page server.
    std::shared_ptr<DemoMarket> market = std::make_shared<DemoMarket>();

    // Whether `sessid` is the member session while the member is signed in.
    bool isMemberSession(const std::string& s) const {
        return s == memberSessid && member->signedIn();
    }
    // The session the demo holds for its one client: the member's while signed in.
    std::string currentSession() const { return member->signedIn() ? memberSessid : sessid; }
};

// Data server: /sync/<sessid>, /chart/SYM/PERIOD/FROM/COUNT, POST /<action>/<sessid>,
// /filelist/sound/<name>.
void registerDataRoutes(httplib::Server& server, const DemoConfig& config);
// A short chime as a RIFF/WAVE file (the demo's "alert.wav"), made by the data routes.
std::string makeAlertWav();
// Page server: /tools/... pages, /tools/session/ (the client's current session),
// /tools/pivots/<SYM> (the chart panel's pivot levels), /filelist/... files.
void registerPageRoutes(httplib::Server& server, const DemoConfig& config);
// Page server: /filelist/video/<name>, the generated demo videos, paced at about 1 MB/s.
void registerVideoRoutes(httplib::Server& server);
// The private folder the videos are made in and kept for the next start,
// <tempFolder>/kovan-demo-<uid>: made 0700, or an existing one of the account's own with no
// access for group or others. Empty, with the reason in `problem`, when it cannot be used.
std::string videoFolder(const std::string& tempFolder, std::string* problem);
// Public web site: /, /price.php, /register.php.
void registerWebRoutes(httplib::Server& server, const DemoConfig& config);

} // namespace demo
