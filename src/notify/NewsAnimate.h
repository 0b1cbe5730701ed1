#pragma once

#include "core/Guarded.h"
#include "core/ProgramState.h"

#include <QString>

#include <array>
#include <functional>

namespace kovan {

// The news ticker of the floating bar: shows the items of topInfoList one at a time on two
// panels inside a 16-pixel viewport, scrolling the next item up from below every ten seconds,
// and sweeps expired items out of the list.
//
// A state machine on the GUI thread: tick() does the work up to the next wait and answers the
// wait in milliseconds (1 000 while fewer than two items exist, 100 between scroll frames,
// 10 000 per item); TtopFloatForm runs it from a single-shot timer that it pauses while the bar
// is hidden. The window is changed only through View. topInfoList is read and pruned only
// under its lock, and the lock is never held while View runs.
class NewsAnimate {
public:
    static constexpr int kIdleMs = 1000;
    static constexpr int kFrameMs = 100;
    static constexpr int kItemMs = 10000;
    static constexpr int kParked = 16; // a panel's top when parked below the viewport

    // The window side: the two ticker panels ampan1 (1) and ampan2 (2).
    class View {
    public:
        virtual ~View() = default;
        // Fills a panel: the stars picture and title geometry for `impant` and the title.
        virtual void setInfos(int panel, int impant, const QString& title) = 0;
        // Sets the panels' tops.
        virtual void ampos(int top1, int top2) = 0;
    };

    // Star picture and title geometry of a panel for an importance (3, 2, anything else = 1).
    struct PanelGeometry {
        int stars = 1;
        int imageWidth = 16;
        int titleLeft = 26;
        int titleWidth = 434;
        bool operator==(const PanelGeometry&) const = default;
    };
    static PanelGeometry panelGeometry(int impant);

    // What a click on a panel does.
    struct Click {
        bool showMainWindow = false; // make the main window visible when hidden
        bool openPage = false;       // showoptPage(title, params, 0, "1")
        QString title;
        QString params; // "artview/" + sessid + "/" + evID
        bool operator==(const Click&) const = default;
    };
    static Click panelClick(int panel, const topInfoRuntimeRecord& item, const QString& sessid);

    // `nowLocalSecs`: local wall-clock seconds since 1970-01-01 00:00 (the expiry base).
    NewsAnimate(Guarded<QList<topInfoRuntimeRecord>>& topInfoList, View& view,
                std::function<qint64()> nowLocalSecs);

    // Runs up to the next wait; answers the wait in milliseconds. A failure inside a step
    // (a View that throws) starts the ticker afresh from the first item, after one frame wait.
    int tick();
    // A fresh start: first item next, the lone flag set, both panels at 0.
    void restart();

    // The expiry sweep: removes items whose expiry lies in the past; answers how many remain.
    static qsizetype clearExpired(Guarded<QList<topInfoRuntimeRecord>>& topInfoList,
                                  qint64 nowLocalSecs);

    int top1() const { return m_panels[0].top; }
    int top2() const { return m_panels[1].top; }
    int nowNI() const { return m_nowNI; }
    bool scrolling() const { return m_scrolling; }
    // The items the panels show (what their clicks act on).
    const topInfoRuntimeRecord& panelItem(int panel) const { return m_panels[panel - 1].item; }
    int failures() const { return m_failures; }

private:
    // What a panel shows and where it stands.
    struct Panel {
        int top = 0;
        int impant = 0;
        QString title;
        topInfoRuntimeRecord item; // what a click acts on
    };

    int step();
    // The list holds one item: it stands still on panel 1, panel 2 empty below the viewport.
    void showLone(const topInfoRuntimeRecord& item);
    // The item at nowNI (the first once nowNI is past the end).
    topInfoRuntimeRecord nextItem();
    // The parked panel takes `item` and starts to scroll in.
    void startScroll(const topInfoRuntimeRecord& item);
    int scrollFrame();
    void showTops();

    Guarded<QList<topInfoRuntimeRecord>>& m_list;
    View& m_view;
    std::function<qint64()> m_now;

    std::array<Panel, 2> m_panels; // ampan1, ampan2
    int m_stepx = 0;
    int m_nowNI = 0;
    bool m_lone = true;
    bool m_scrolling = false;
    int m_incoming = 1; // the panel scrolling in: 0 ampan1, 1 ampan2
    int m_failures = 0;
};

} // namespace kovan
