// The public web site of the demo: the pages the client opens in the system's browser.

#include "DemoService.h"

#include <string>

namespace demo {

namespace {

std::string page(const std::string& title, const std::string& body) {
    return "<!DOCTYPE html><html lang=\"zh-CN\"><head><meta charset=\"utf-8\"><title>" + title +
           "</title><style>body{font-family:sans-serif;background:#f4f8fc;color:#013E7F;"
           "margin:40px}h1{color:#025EA5}</style></head><body><h1>" +
           title + "</h1>" + body + "</body></html>";
}

void html(httplib::Response& res, const std::string& content) {
    res.set_content(content, "text/html; charset=utf-8");
}

std::string params(const httplib::Request& req) {
    return "<p>客户端参数: C=" + req.get_param_value("C") + " S=" + req.get_param_value("S") +
           "</p>";
}

} // namespace

void registerWebRoutes(httplib::Server& server, const DemoConfig&) {
    server.Get("/", [](const httplib::Request& req, httplib::Response& res) {
        html(res, page("朗鸥策略 会员中心",
                       "<p>欢迎回来。这里是演示站点的会员中心。</p>" + params(req)));
    });
    server.Get("/price.php", [](const httplib::Request& req, httplib::Response& res) {
        html(res, page("服务价格",
                       "<p>月度会员 ¥298，季度会员 ¥798，年度会员 ¥2680。</p>" + params(req)));
    });
    server.Get("/register.php", [](const httplib::Request& req, httplib::Response& res) {
        html(res, page("注册会员", "<p>演示站点不接受真实注册。</p>" + params(req)));
    });
}

} // namespace demo
