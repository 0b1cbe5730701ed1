#pragma once

#include <QString>

#include <functional>

namespace kovan {

// showoptPage: opens a page-server page "/tools/" + params in the content pane, captioned
// `title` (`staytitle` and `destory` as the page sent them). GUI thread.
using ShowOptPage = std::function<void(const QString& title, const QString& params, int staytitle,
                                       const QString& destory)>;

// How the main window reaches the web views without depending on the web library: the program
// entry fills these in. Views are named "sgWeb", "ayWeb", "plWeb", "dtWeb", "rtWeb". Every hook
// may be empty; the window then skips the call. All are called on the GUI thread.
struct PageHooks {
    // Runs a script in a view (language "javascript").
    std::function<void(const QString& view, const QString& script)> runPageScript = {};
    // Hands the HTML inside the body of the view's page to `done` (the empty text when the
    // page has no body); may answer later.
    std::function<void(const QString& view, std::function<void(const QString& body)> done)>
        pageBody = {};
    // Navigates a view to an address.
    std::function<void(const QString& view, const QString& url)> navigateView = {};
    // Opens a page-server page "/tools/" + params in the content pane.
    ShowOptPage showoptPage = {};
    // The "图形" button of the signal section: opens a chart window.
    std::function<void()> openChart = {};
};

// Everything the main window asks of the other parts of the client: the web views, the
// floating bar and notices, the price alerts, the member login, the exit procedure. Every hook may
// be empty; the window then skips the call. GUI thread only.
struct MainFormHooks {
    PageHooks pages = {};
    // Whether the floating bar shows; positions and shows it (and brings it to the front).
    std::function<bool()> floatBarShowing = {};
    std::function<void(bool bringToFront)> showFloatBar = {};
    // Tray item "提醒事件(&H)": the corner pop-up with the newest notice.
    std::function<void()> showNewestNotice = {};
    // Tray item "价格提醒(&P)": the member's price alerts window.
    std::function<void()> showPriceAlerts = {};
    // logIMGClick: the member picture clicked while no member is signed in (the login dialog).
    std::function<void()> logIMGClick = {};
    // Tray item "退出(&X)".
    std::function<void()> exitProcedure = {};
};

} // namespace kovan
