#pragma once

#include "core/ProgramPaths.h"
#include "core/SessionState.h"
#include "net/SyncDelegates.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QTimer>

#include <functional>

class QWidget;
class QStackedLayout;

namespace kovan {

class CommandRegistry;
class HostWebView;

// The five section views (sgWeb, ayWeb, plWeb, dtWeb, rtWeb): their addresses, their page
// state (`Tag` 2 = an application page is loaded), the tile that replaces anything else, and
// the reload rules. GUI thread only; the sync worker reaches checkRefresh()/forceReload()
// through a hand-over to the GUI thread.
class SectionPages : public QObject, public ISectionPages {
    Q_OBJECT
public:
    // Creates the five views without a parent widget; place them with placeInContainers() or
    // reparent view(key) into a section panel. Views still without a parent widget are deleted
    // with this object. Addresses carry the id of `session` and go to the page server of
    // `paths`, whose program folder holds the tile; both outlive this object.
    SectionPages(const SessionState& session, const ProgramPaths& paths, QObject* parent = nullptr);
    ~SectionPages() override;

    // "sign", "arts", "plan", "mkte", "rpae"; nullptr for anything else.
    HostWebView* view(QStringView key) const;
    // By control name: "sgWeb", "ayWeb", "plWeb", "dtWeb", "rtWeb".
    HostWebView* viewNamed(QStringView name) const;

    // A simple placement until the section panels exist: the four section views stacked in
    // the middle column (the signal section in front), rtWeb filling the right column.
    void placeInContainers(QWidget* middleColumn, QWidget* rightColumn);
    // Brings a section view to the front of the stack of placeInContainers().
    void showSection(QStringView key);

    // Start-up: the page bridge in every view; the first loads (path + sessid + "/").
    void attachScriptHosts(CommandRegistry& registry);
    // The sections on screen at start (signals, the right column) load at once, the hidden
    // ones once every one of those has been checked, or kHiddenSectionsDelayMs later at the
    // latest: five page processes starting together on a small machine each take several
    // times as long, and the member looks at the ones on screen. Until then a hidden view
    // counts as busy, so reloads asked for meanwhile wait for its first load.
    void navigateSections();
    static constexpr int kHiddenSectionsDelayMs = 1500;
    void setHiddenSectionsDelayMs(int ms) { m_hiddenSectionsDelayMs = ms; }
    // Runs `then` at the moment the hidden sections start loading (above), or at once when
    // navigateSections() has been called and that moment has passed. Start-up's other network
    // work waits for it too, so the pages on screen come first.
    void whenShownSectionsSettled(std::function<void()> then);

    // Start-up, right after navigateSections(): runs the event loop (user input waits) until
    // the first request of every section loading has gone out, or `maxMs` passed. The engine's
    // browser side runs its steps on this thread's event loop, and start-up still has work
    // here (the sync worker, showing and painting the main window) before the loop runs;
    // once a request is out, the rest of the load goes on in the network thread and the
    // page process meanwhile.
    void waitForFirstRequests(int maxMs);
    static constexpr int kFirstRequestsWaitMs = 150;

    // Runs a page function in one section view ("showPostype(2)" in "sign", ...).
    void runScript(QStringView key, const QString& code);
    // Hands the HTML inside the body of a view's page (by control name, "sgWeb" ...) to `done`,
    // later, on the GUI thread; the empty text without a body or view.
    void pageBody(QStringView viewName, std::function<void(const QString& body)> done);

    // ISectionPages.
    // Runs reloadCheck('<sessid>') in each changed section whose view holds an application page.
    void checkRefresh(ContentSectionSet changed) override;
    // Reloads the sections of `types` ("sign" … "rpae", "all"): an application page runs
    // reloadCheck('0'), anything else is loaded afresh. A view still loading (or whose page is
    // being checked) is reloaded once it is done, from its load-finished handling, or after
    // kReloadWaitMs at the latest: the call itself returns at once and never waits.
    void forceReload(const QString& types) override;
    static constexpr int kReloadWaitMs = 10000;
    // How long a page check (the classification after a load) may take before the view counts
    // as free again: a page whose renderer went away never answers it.
    static constexpr int kCheckLimitMs = 5000;
    // Sections whose reload waits for their view.
    int pendingReloads() const { return int(m_pendingReload.size()); }
    // Tests shorten the wait.
    void setReloadWaitMs(int ms) { m_reloadWaitMs = ms; }

    // The document-complete handling of a section view (connected for all five).
    void ViewWebDocumentComplete(HostWebView* view);

    // <programDir>resource/grid.png.
    QString tilePath() const;
    // The tile written to tilePath() when missing, as the bytes of a PNG file: the skin's
    // picture when set, else a drawn one. Bytes rather than a picture: encoding a picture
    // makes Qt's image writer load every image-format plugin on the system.
    std::function<QByteArray()> tilePng;

Q_SIGNALS:
    // A completed document has been classified: `tag` 2 (application page) or 1 (tile).
    void pageChecked(const QString& key, int tag);

private:
    bool busy(HostWebView* view) const;
    // Runs the reloads whose view is free or whose wait has run out; arms m_reloadTimer for
    // the next time one may become due.
    void runPendingReloads();
    void reloadNow(HostWebView* view, QStringView key, bool stuck);
    void writeTileIfMissing();
    QString tileUrl() const;
    void classify(HostWebView* view, quint64 generation, const QVariant& html);
    // The sections on screen at start are all checked, or the wait for them ran out
    // (`generation` tells which navigateSections() call the wait belonged to).
    void settleShownSections(quint64 generation);
    void navigateHiddenSections();
    // A section on screen at start has been checked; the last of them settles them.
    void firstCheckDone(const QString& key);

    const SessionState& m_session;
    const ProgramPaths& m_paths;
    QHash<QString, QPointer<HostWebView>> m_views;  // key → view
    QHash<HostWebView*, quint64> m_generation;      // completed documents per view
    QHash<HostWebView*, QElapsedTimer> m_checking;  // classification under way, since when
    QHash<QString, QDeadlineTimer> m_pendingReload; // section key → when to stop waiting
    QTimer m_reloadTimer;                           // single shot: the next deadline
    int m_reloadWaitMs = kReloadWaitMs;
    QPointer<QStackedLayout> m_stack;
    QList<QPointer<HostWebView>> m_firstLoadDue; // hidden views whose first load is to come
    QSet<QString> m_firstCheckDue; // sections on screen at start not yet checked (keys)
    int m_hiddenSectionsDelayMs = kHiddenSectionsDelayMs;
    quint64 m_navigations = 0; // navigateSections() calls
    bool m_shownSettled = false;
    QList<std::function<void()>> m_afterShownSettled;
};

} // namespace kovan
