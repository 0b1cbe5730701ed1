// The demo data server: the one-second sync feed with moving bids, section stamps that move
// when the demo "posts" content, news items; chart bars of every symbol and period; member
// login and logout; the alert sound.

#include "DemoService.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <deque>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace demo {

namespace {

using Clock = std::chrono::steady_clock;

struct NewsItem {
    int id;
    int impant;
    std::string title;
};

const char* const kHeadlines[] = {
    "美联储维持利率不变，金价小幅走高", "美国非农就业人数超预期，美元指数走强",
    "欧洲央行行长讲话，欧元短线波动",   "国内现货白银成交放量，多头占优",
    "伦铜库存下降，铜价获得支撑",       "日本央行干预预期升温，日元走强",
    "原油库存数据公布前，商品市场观望", "镍价高位震荡，注意回调风险",
    "澳洲联储会议纪要偏鸽，澳元承压",   "避险情绪升温，黄金突破关键阻力",
};

const char* const kSections[] = {"LUDsign", "LUDarts", "LUDplan", "LUDmkts"};

// Everything the data routes share; handlers run on the server's thread pool. The bids live
// in the market (DemoMarket), which has a lock of its own.
struct DataState {
    std::mutex mutex;
    std::mt19937 rng{20261209};
    std::shared_ptr<DemoMarket> market;
    std::int64_t stamps[4] = {};
    Clock::time_point nextPost[4];
    std::deque<NewsItem> news; // the latest four, sent with every reply
    int nextNewsId = 1001;
    std::size_t nextHeadline = 0;
    Clock::time_point nextNews;

    // Off: nothing new arrives by itself (sections move on only through /demo/post/).
    bool timedPosts = true;
    // How many times a real service's pace the posts and news come at (see DemoConfig).
    double rate = 1.0;

    DataState(std::shared_ptr<DemoMarket> m, bool posts, double eventRate)
        : market(std::move(m)), timedPosts(posts), rate(eventRate) {
        const auto now = Clock::now();
        const std::int64_t base = std::chrono::duration_cast<std::chrono::seconds>(
                                      std::chrono::system_clock::now().time_since_epoch())
                                      .count();
        for (int i = 0; i < 4; ++i) {
            stamps[i] = base - 3600 + i;
            nextPost[i] = now + postInterval();
        }
        // Three items from the start, so that the floating bar's ticker rotates at once.
        for (const int impant : {3, 1, 2})
            news.push_back({nextNewsId++, impant, kHeadlines[nextHeadline++]});
        nextNews = now + paced(45);
    }

    // `seconds` at a real service's pace, at the demo's event rate.
    Clock::duration paced(int seconds) const {
        return std::chrono::duration_cast<Clock::duration>(
            std::chrono::duration<double>(seconds / rate));
    }
    Clock::duration postInterval() {
        return paced(std::uniform_int_distribution<int>(20, 40)(rng));
    }

    // One step of the random walk for every symbol, and posts/news that are due.
    void advance() {
        market->step();
        if (!timedPosts)
            return;
        const auto now = Clock::now();
        for (int i = 0; i < 4; ++i) {
            if (now >= nextPost[i]) {
                stamps[i] += std::uniform_int_distribution<int>(30, 600)(rng);
                nextPost[i] = now + postInterval();
            }
        }
        if (now >= nextNews) {
            news.push_back({nextNewsId++, std::uniform_int_distribution<int>(1, 3)(rng),
                            kHeadlines[nextHeadline++ % std::size(kHeadlines)]});
            // The reply carries the latest four; older items are no longer sent, and the
            // client drops them when their hour is up.
            while (news.size() > 4)
                news.pop_front();
            nextNews = now + paced(std::uniform_int_distribution<int>(30, 60)(rng));
        }
    }
};

std::string jsonString(const std::string& s) {
    std::string out = "\"";
    for (const char c : s) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

std::string formatPrice(double v, int digits) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", digits, v);
    return buf;
}

std::string formatNumber(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.10g", v);
    return buf;
}

std::string syncReply(DataState& st, const std::string& sessid) {
    std::lock_guard lock(st.mutex);
    st.advance();
    std::string info, rates;
    for (const MarketSymbol& s : st.market->symbols()) {
        if (!info.empty()) {
            info += ',';
            rates += ',';
        }
        info += jsonString(s.code) + ":{\"showname\":" + jsonString(s.showname) +
                ",\"minpip\":" + formatNumber(s.minpip) +
                ",\"piplen\":" + std::to_string(s.piplen) +
                ",\"basepip\":" + std::to_string(s.basepip) + "}";
        rates += "{\"S\":" + jsonString(s.code) +
                 ",\"B\":" + jsonString(formatPrice(s.bid, s.piplen)) + "}";
    }
    std::string rdnt;
    for (const NewsItem& n : st.news) {
        if (!rdnt.empty())
            rdnt += ',';
        rdnt += "{\"id\":" + std::to_string(n.id) + ",\"title\":" + jsonString(n.title) +
                ",\"impant\":" + std::to_string(n.impant) + "}";
    }
    std::string out =
        "{\"status\":1,\"sessid\":" + jsonString(sessid) + ",\"symbolinfo\":{" + info + "}";
    for (int i = 0; i < 4; ++i)
        out += ",\"" + std::string(kSections[i]) + "\":" + std::to_string(st.stamps[i]);
    out += ",\"ratecount\":" + std::to_string(st.market->symbols().size()) + ",\"rate\":[" + rates +
           "]";
    out += ",\"rdntcount\":" + std::to_string(st.news.size()) + ",\"rdnt\":[" + rdnt + "]}";
    return out;
}

// The chart endpoint's reply: {"status", "count", "data": [{D, O, H, L, C}], "BID"}, prices
// with the instrument's digits.
std::string chartReply(const DemoMarket::Chart& chart) {
    if (!chart.ok)
        return "{\"status\":0,\"count\":0,\"data\":[],\"error\":\"unknown instrument or period\"}";
    std::string data;
    for (const MarketBar& b : chart.bars) {
        if (!data.empty())
            data += ',';
        data += "{\"D\":" + std::to_string(b.t) + ",\"O\":" + formatPrice(b.o, chart.piplen) +
                ",\"H\":" + formatPrice(b.h, chart.piplen) +
                ",\"L\":" + formatPrice(b.l, chart.piplen) +
                ",\"C\":" + formatPrice(b.c, chart.piplen) + "}";
    }
    return "{\"status\":1,\"count\":" + std::to_string(chart.bars.size()) + ",\"data\":[" + data +
           "],\"BID\":" + formatPrice(chart.bid, chart.piplen) + "}";
}

// The client sends the password scrambled with its built-in key: each character's low byte
// XOR the key byte, as two upper-case hex digits.
std::string scramble(const std::string& plain) {
    static const char key[] = "plainlocalscramblekeyvalue";
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (std::size_t i = 0; i < plain.size(); ++i) {
        const auto b = static_cast<unsigned char>(plain[i] ^ key[i % (sizeof key - 1)]);
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

void sendJson(httplib::Response& res, const std::string& body) {
    res.set_content(body, "application/json; charset=utf-8");
}

} // namespace

std::string makeAlertWav() {
    const int rate = 22050;
    std::vector<std::int16_t> samples;
    const double notes[] = {988.0, 1319.0, 1568.0};
    const int noteLen = rate * 120 / 1000;
    const int fade = rate * 8 / 1000;
    for (const double f : notes) {
        for (int i = 0; i < noteLen; ++i) {
            double gain = 0.3;
            if (i < fade)
                gain *= double(i) / fade;
            else if (i > noteLen - fade)
                gain *= double(noteLen - i) / fade;
            samples.push_back(static_cast<std::int16_t>(
                std::lround(gain * 32767 * std::sin(2 * M_PI * f * i / rate))));
        }
    }
    auto le = [](std::string& s, std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            s += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::string wav = "RIFF";
    le(wav, 36 + dataBytes, 4);
    wav += "WAVEfmt ";
    le(wav, 16, 4);
    le(wav, 1, 2); // PCM
    le(wav, 1, 2); // mono
    le(wav, rate, 4);
    le(wav, rate * 2, 4);
    le(wav, 2, 2);
    le(wav, 16, 2);
    wav += "data";
    le(wav, dataBytes, 4);
    for (const std::int16_t s : samples)
        le(wav, static_cast<std::uint16_t>(s), 2);
    return wav;
}

void registerDataRoutes(httplib::Server& server, const DemoConfig& config) {
    auto state = std::make_shared<DataState>(config.market, config.liveEvents, config.eventRate);

    // The demo holds one session for its one client: the member session while the member is
    // signed in, the guest session otherwise. A poll with any other session is told the
    // guest session.
    server.Get(R"(/sync/([^/]*))",
               [state, config](const httplib::Request& req, httplib::Response& res) {
                   const std::string asked = req.matches[1].str();
                   const bool member = config.isMemberSession(asked);
                   // The first poll with a fresh member session: the signal list this client sees
                   // has changed, so its stamp moves on and the client refreshes the page with the
                   // session.
                   if (member && config.member->takeFreshSignIn()) {
                       std::lock_guard lock(state->mutex);
                       state->stamps[0] += 1;
                   }
                   sendJson(res, syncReply(*state, member ? config.memberSessid : config.sessid));
               });

    // Bars of one symbol and period: FROM 0 gives the last COUNT bars, FROM > 0 the bars from
    // that time on (COUNT 0: all of them). The newest bar follows the bid.
    server.Get(R"(/chart/([^/]+)/([^/]+)/(-?\d{1,18})/(-?\d{1,18}))",
               [market = config.market](const httplib::Request& req, httplib::Response& res) {
                   const std::int64_t now = std::chrono::duration_cast<std::chrono::seconds>(
                                                std::chrono::system_clock::now().time_since_epoch())
                                                .count();
                   sendJson(res, chartReply(market->chart(req.matches[1], req.matches[2],
                                                          std::stoll(req.matches[3]),
                                                          std::stoll(req.matches[4]), now)));
               });

    // Measuring aid (scripts/bench-live): the section's stamp moves now, as a post would.
    server.Get(R"(/demo/post/(sign|arts|plan|mkts))",
               [state](const httplib::Request& req, httplib::Response& res) {
                   std::lock_guard lock(state->mutex);
                   const std::string key = "LUD" + std::string(req.matches[1]);
                   for (int i = 0; i < 4; ++i) {
                       if (key == kSections[i])
                           ++state->stamps[i];
                   }
                   res.set_content("posted\n", "text/plain");
               });

    // The demo member signs in with its password (sent scrambled); anything else is refused.
    server.Post(
        R"(/clientlogin/([^/]*))", [config](const httplib::Request& req, httplib::Response& res) {
            const std::string user = req.get_param_value("user");
            const std::string passwd = req.get_param_value("passwd");
            if (user == config.memberUser && passwd == scramble(config.memberPassword)) {
                config.member->signIn();
                sendJson(res, "{\"status\":1,\"UID\":\"" + std::to_string(config.memberUid) +
                                  "\",\"sessid\":" + jsonString(config.memberSessid) +
                                  ",\"user\":" + jsonString(config.memberUser) + "}");
            } else {
                sendJson(res, "{\"status\":0,\"error\":\"用户名或密码错误\","
                              "\"errno\":\"10000101\"}");
            }
        });

    // Signing out ends the member session: the next poll is told the guest session.
    server.Post(R"(/logout/([^/]*))", [config](const httplib::Request&, httplib::Response& res) {
        config.member->signOut();
        sendJson(res, "{\"status\":1}");
    });

    // Sound files are asked for with a doubled slash ("//filelist/sound/alert.wav").
    static const std::string wav = makeAlertWav();
    server.Get(R"(/{1,2}filelist/sound/([^/]+))",
               [](const httplib::Request& req, httplib::Response& res) {
                   if (req.matches[1] == "alert.wav") {
                       res.set_content(wav, "audio/wav");
                   } else {
                       res.status = 404;
                   }
               });
}

} // namespace demo
