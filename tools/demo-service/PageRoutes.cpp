// Page server of the demo service: the five section pages, the content-pane pages, the chart
// panel, the chart terms, the lecture room and sound files. Pages are built from the embedded parts
// in pages/ and carry the application marker; nothing is fetched from elsewhere.

#include "DemoService.h"

#include "pages/ChartHtml.h"
#include "pages/CommonHtml.h"
#include "pages/ContentHtml.h"
#include "pages/SectionHtml.h"

#include <chrono>
#include <cstdio>
#include <map>
#include <string>

namespace demo {

namespace {

struct PageBody {
    const char* title;
    const char* body;
};

const std::map<std::string, PageBody>& sectionPages() {
    static const std::map<std::string, PageBody> m{
        {"signlist", {"交易信号", pages::kSignList}}, {"artlist", {"分析文章", pages::kArtList}},
        {"planlist", {"交易策略", pages::kPlanList}}, {"mktevent", {"市场事件", pages::kMktEvent}},
        {"right", {"会员服务", pages::kRight}},
    };
    return m;
}

const std::map<std::string, PageBody>& contentPages() {
    static const std::map<std::string, PageBody> m{
        {"appadmin", {"会员中心", pages::kAppAdmin}},
        {"myhold", {"我的关注", pages::kMyHold}},
        {"authorlist", {"服务团队", pages::kAuthorList}},
        {"signsets", {"信号设置", pages::kSignSets}},
        {"artview", {"文章阅读", pages::kArtView}},
        {"signinfo", {"信号详情", pages::kSignInfo}},
    };
    return m;
}

// A session id goes into a script string: keep the characters a session id is made of.
std::string safeSessid(const std::string& s) {
    std::string out;
    for (char c : s) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
            c == '-' || c == '_' || c == '.')
            out += c;
    }
    return out;
}

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

std::string buildPage(const PageBody& page, const std::string& sessid, std::int64_t uid,
                      bool liveEvents = false, const char* memberBlock = "",
                      double eventRate = 1.0) {
    std::string html = std::string(pages::kHead) + page.body + pages::kTail;
    replaceAll(html, "%MEMBERBLOCK%", memberBlock);
    replaceAll(html, "%TITLE%", page.title);
    replaceAll(html, "%SESSID%", safeSessid(sessid));
    replaceAll(html, "%UID%", std::to_string(uid));
    replaceAll(html, "%LIVE%", liveEvents ? "true" : "false");
    replaceAll(html, "%RATE%", std::to_string(eventRate));
    return html;
}

// The instrument of a signal of the demo's signal page (its list in SectionHtml.h); the chart
// button's charts (signal 0) and unknown signals show XAGRMB.
std::string signalSymbol(const std::string& signID) {
    static const std::map<std::string, std::string> m{{"30121", "XAGRMB"}, {"30122", "XAU"},
                                                      {"30123", "CADRMB"}, {"30124", "EURUSD"},
                                                      {"30125", "NIDRMB"}, {"30126", "AIDRMB"}};
    const auto it = m.find(signID);
    return it == m.end() ? "XAGRMB" : it->second;
}

std::string price(double v, int digits) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", digits, v);
    return buf;
}

std::int64_t nowSecs() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

void sendHtml(httplib::Response& res, const std::string& html) {
    res.set_header("Cache-Control", "no-store");
    res.set_content(html, "text/html; charset=utf-8");
}

} // namespace

void registerPageRoutes(httplib::Server& server, const DemoConfig& config) {
    const std::int64_t uid = config.uid;
    const bool live = config.liveEvents;

    // "/tools/<section>/<sessid>/", also with "?rand=N" or "?N" (the query is not part of the
    // path matched here). The signal page shows member-only signals for the member session.
    server.Get(
        R"(/tools/(signlist|artlist|planlist|mktevent|right)/([^/]*)/?)",
        [config, live](const httplib::Request& req, httplib::Response& res) {
            const std::string section = req.matches[1].str();
            const std::string sessid = req.matches[2].str();
            const PageBody& page = sectionPages().at(section);
            const double rate = config.eventRate;
            if (section != "signlist") {
                sendHtml(res, buildPage(page, sessid, config.uid, live, "", rate));
            } else if (config.isMemberSession(sessid)) {
                sendHtml(res,
                         buildPage(page, sessid, config.memberUid, live, pages::kSignMember, rate));
            } else {
                sendHtml(res, buildPage(page, sessid, config.uid, live, pages::kSignGuest, rate));
            }
        });

    // The session the demo holds for its one client; the signal page follows it when the
    // client asks it to reload.
    server.Get(R"(/tools/session/?)", [config](const httplib::Request&, httplib::Response& res) {
        res.set_header("Cache-Control", "no-store");
        res.set_content("{\"sessid\":\"" + safeSessid(config.currentSession()) + "\"}",
                        "application/json; charset=utf-8");
    });

    // "/tools/<page>/<sessid>[/<item>]" for the content pane.
    server.Get(
        R"(/tools/(appadmin|myhold|authorlist|signsets|artview|signinfo)(/([^/]*).*)?)",
        [uid, fallback = config.sessid](const httplib::Request& req, httplib::Response& res) {
            const PageBody& page = contentPages().at(req.matches[1].str());
            const std::string sessid = req.matches[3].matched && req.matches[3].length() > 0
                                           ? req.matches[3].str()
                                           : fallback;
            sendHtml(res, buildPage(page, sessid, uid));
        });

    server.Get(R"(/tools/chartpanel/([^/]*)/?)", [uid, market = config.market](
                                                     const httplib::Request& req,
                                                     httplib::Response& res) {
        const std::string sym = signalSymbol(req.get_param_value("signID"));
        std::string name = sym;
        for (const MarketSymbol& s : market->symbols())
            if (s.code == sym)
                name = s.showname;
        std::string html = buildPage({"图表面板", pages::kChartPanel}, req.matches[1].str(), uid);
        replaceAll(html, "%CHARTSYM%", sym);
        replaceAll(html, "%CHARTNAME%", name);
        sendHtml(res, html);
    });

    // The chart panel's pivot levels: the previous day's classic floor pivots.
    server.Get(R"(/tools/pivots/([A-Za-z0-9]+))",
               [market = config.market](const httplib::Request& req, httplib::Response& res) {
                   res.set_header("Cache-Control", "no-store");
                   const auto p = market->pivots(req.matches[1].str(), nowSecs());
                   if (!p) {
                       res.set_content("{\"status\":0}", "application/json; charset=utf-8");
                       return;
                   }
                   const int d = p->piplen;
                   res.set_content("{\"status\":1,\"itime\":" + std::to_string(p->itime) +
                                       ",\"PV\":" + price(p->pp, d) + ",\"R1\":" + price(p->r1, d) +
                                       ",\"R2\":" + price(p->r2, d) + ",\"R3\":" + price(p->r3, d) +
                                       ",\"S1\":" + price(p->s1, d) + ",\"S2\":" + price(p->s2, d) +
                                       ",\"S3\":" + price(p->s3, d) + "}",
                                   "application/json; charset=utf-8");
               });

    server.Get(R"(/tools/tos/([^/]*)(/.*)?)",
               [uid](const httplib::Request& req, httplib::Response& res) {
                   sendHtml(res, buildPage({"用户需知", pages::kTos}, req.matches[1].str(), uid));
               });

    server.Get(R"(/tools/lecture/?)", [config](const httplib::Request&, httplib::Response& res) {
        sendHtml(res, buildPage({"在线投资讲座", pages::kLecture}, config.sessid, config.uid));
    });

    // Sounds the client fetches when missing locally: every name plays the demo chime.
    server.Get(R"(/{1,2}filelist/sound/([^/]+))",
               [](const httplib::Request&, httplib::Response& res) {
                   res.set_content(makeAlertWav(), "audio/wav");
               });
}

} // namespace demo
