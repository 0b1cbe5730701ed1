#include "notify/NewsAnimate.h"

#include "core/Escaping.h"
#include "core/Trace.h"

#include <exception>
#include <optional>

namespace kovan {

NewsAnimate::PanelGeometry NewsAnimate::panelGeometry(int impant) {
    switch (impant) {
    case 3:
        return {3, 48, 58, 402};
    case 2:
        return {2, 32, 42, 418};
    default:
        return {1, 16, 26, 434};
    }
}

NewsAnimate::Click NewsAnimate::panelClick(int panel, const topInfoRuntimeRecord& item,
                                           const QString& sessid) {
    Click c;
    // Panel 2 brings the main window up whatever it shows; panel 1 only for a real item.
    c.showMainWindow = panel == 2 || item.evID > 0;
    if (item.evID > 0 && item.evType == u"newtips") {
        c.openPage = true;
        c.title = item.title;
        c.params =
            QStringLiteral("artview/") + urlPathSegment(sessid) + u'/' + QString::number(item.evID);
    }
    return c;
}

NewsAnimate::NewsAnimate(Guarded<QList<topInfoRuntimeRecord>>& topInfoList, View& view,
                         std::function<qint64()> nowLocalSecs)
    : m_list(topInfoList), m_view(view), m_now(std::move(nowLocalSecs)) {}

void NewsAnimate::restart() {
    for (Panel& p : m_panels) {
        p.top = 0;
        p.impant = 0;
        p.title.clear();
    }
    m_stepx = 0;
    m_nowNI = 0;
    m_lone = true;
    m_scrolling = false;
    m_incoming = 1;
}

int NewsAnimate::tick() {
    try {
        return m_scrolling ? scrollFrame() : step();
    } catch (const std::exception& e) {
        trace(QStringLiteral("news ticker restarted: ") + QString::fromUtf8(e.what()));
    } catch (...) {
        trace(QStringLiteral("news ticker restarted"));
    }
    ++m_failures;
    restart();
    return kFrameMs;
}

qsizetype NewsAnimate::clearExpired(Guarded<QList<topInfoRuntimeRecord>>& topInfoList,
                                    qint64 nowLocalSecs) {
    return topInfoList.with([nowLocalSecs](QList<topInfoRuntimeRecord>& list) {
        list.removeIf([nowLocalSecs](const topInfoRuntimeRecord& r) {
            return r.expired > 0 && r.expired < nowLocalSecs;
        });
        return list.size();
    });
}

int NewsAnimate::step() {
    for (;;) {
        qsizetype n = 0;
        std::optional<topInfoRuntimeRecord> lone;
        m_list.with([&](const QList<topInfoRuntimeRecord>& list) {
            n = list.size();
            if (n == 1 && m_lone)
                lone = list.first();
        });
        if (n == 0)
            return kIdleMs;
        if (n == 1) {
            // Shown once; no sweep while the list holds one.
            if (lone)
                showLone(*lone);
            return kIdleMs;
        }
        if (clearExpired(m_list, m_now ? m_now() : 0) < 2) {
            m_lone = true;
            continue;
        }
        startScroll(nextItem());
        return scrollFrame();
    }
}

void NewsAnimate::showLone(const topInfoRuntimeRecord& item) {
    Panel& first = m_panels[0];
    first.title = item.title;
    first.impant = item.impant;
    first.item = item;
    first.top = 0;
    Panel& second = m_panels[1];
    second.top = kParked;
    second.title.clear();
    second.impant = 1;
    showTops();
    m_view.setInfos(1, first.impant, first.title);
    m_view.setInfos(2, second.impant, second.title);
    m_lone = false;
}

topInfoRuntimeRecord NewsAnimate::nextItem() {
    topInfoRuntimeRecord item;
    m_list.with([&](const QList<topInfoRuntimeRecord>& list) {
        if (m_nowNI > list.size() - 1)
            m_nowNI = 0;
        item = list.at(m_nowNI);
    });
    return item;
}

void NewsAnimate::startScroll(const topInfoRuntimeRecord& item) {
    // The panel in view stays at 0 until the scroll moves it; the other comes up from below.
    const int incoming = m_panels[0].top == 0 ? 1 : 0;
    m_panels[1 - incoming].top = 0;
    Panel& in = m_panels[incoming];
    in.top = kParked;
    in.title = item.title;
    in.impant = item.impant;
    in.item = item;
    m_incoming = incoming;
    m_view.setInfos(incoming + 1, in.impant, in.title);
    m_stepx = 0;
    m_scrolling = true;
}

int NewsAnimate::scrollFrame() {
    ++m_stepx;
    showTops();
    for (Panel& p : m_panels)
        p.top -= m_stepx;
    if (m_panels[m_incoming].top > 0)
        return kFrameMs;
    // The outgoing panel parks below the viewport, ready for the next item.
    m_panels[m_incoming].top = 0;
    m_panels[1 - m_incoming].top = kParked;
    showTops();
    m_scrolling = false;
    ++m_nowNI;
    return kItemMs;
}

void NewsAnimate::showTops() {
    m_view.ampos(m_panels[0].top, m_panels[1].top);
}

} // namespace kovan
