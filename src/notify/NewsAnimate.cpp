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
    m_top1 = m_top2 = 0;
    m_ipmt1 = m_ipmt2 = 0;
    m_tit1.clear();
    m_tit2.clear();
    m_stepx = 0;
    m_nowNI = 0;
    m_lone = true;
    m_scrolling = false;
    m_incoming = 2;
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
            // The lone item stands still on panel 1; no sweep while the list holds one.
            if (lone) {
                m_tit1 = lone->title;
                m_ipmt1 = lone->impant;
                m_panelItem1 = *lone;
                m_top1 = 0;
                m_top2 = kParked;
                m_tit2.clear();
                m_ipmt2 = 1;
                m_view.ampos(m_top1, m_top2);
                m_view.setInfos(1, m_ipmt1, m_tit1);
                m_view.setInfos(2, m_ipmt2, m_tit2);
                m_lone = false;
            }
            return kIdleMs;
        }

        if (clearExpired(m_list, m_now ? m_now() : 0) < 2) {
            m_lone = true;
            continue;
        }
        topInfoRuntimeRecord item;
        m_list.with([&](const QList<topInfoRuntimeRecord>& list) {
            if (m_nowNI > list.size() - 1)
                m_nowNI = 0;
            item = list.at(m_nowNI);
        });

        if (m_top1 == 0) {
            // Panel 1 is in view: panel 2 takes the incoming item.
            m_top1 = 0;
            m_top2 = kParked;
            m_tit2 = item.title;
            m_ipmt2 = item.impant;
            m_panelItem2 = item;
            m_incoming = 2;
            m_view.setInfos(2, m_ipmt2, m_tit2);
        } else {
            m_top2 = 0;
            m_top1 = kParked;
            m_tit1 = item.title;
            m_ipmt1 = item.impant;
            m_panelItem1 = item;
            m_incoming = 1;
            m_view.setInfos(1, m_ipmt1, m_tit1);
        }
        m_stepx = 0;
        m_scrolling = true;
        return scrollFrame();
    }
}

int NewsAnimate::scrollFrame() {
    ++m_stepx;
    m_view.ampos(m_top1, m_top2);
    m_top1 -= m_stepx;
    m_top2 -= m_stepx;
    const int incomingTop = m_incoming == 2 ? m_top2 : m_top1;
    if (incomingTop > 0)
        return kFrameMs;
    // The outgoing panel parks below the viewport, ready for the next item.
    if (m_incoming == 2) {
        m_top2 = 0;
        m_top1 = kParked;
    } else {
        m_top1 = 0;
        m_top2 = kParked;
    }
    m_view.ampos(m_top1, m_top2);
    m_scrolling = false;
    ++m_nowNI;
    return kItemMs;
}

} // namespace kovan
