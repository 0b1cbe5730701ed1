#include "web/SectionPages.h"

#include "core/Escaping.h"
#include "core/JsonParams.h"
#include "core/PrivateFiles.h"
#include "core/Trace.h"
#include "web/HostWebView.h"
#include "web/SectionRules.h"
#include "web/WebArtwork.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>
#include <QStackedLayout>
#include <QVBoxLayout>
#include <QWebEngineUrlRequestInterceptor>

#include <memory>
#include <utility>
#include <vector>

namespace kovan {

namespace {

// Reports, once, that a page's load has gone out: its first main-frame request, or the end of
// a load that made none (a refused address). Watches the page while it lives; GUI thread.
class FirstRequestWatch : public QWebEngineUrlRequestInterceptor {
public:
    FirstRequestWatch(QWebEnginePage* page, std::function<void()> done)
        : m_page(page), m_done(std::move(done)) {
        page->setUrlRequestInterceptor(this);
        connect(page, &QWebEnginePage::loadFinished, this, &FirstRequestWatch::settle);
    }
    ~FirstRequestWatch() override {
        if (m_page)
            m_page->setUrlRequestInterceptor(nullptr);
    }
    void interceptRequest(QWebEngineUrlRequestInfo& info) override {
        if (info.resourceType() == QWebEngineUrlRequestInfo::ResourceTypeMainFrame)
            settle();
    }

private:
    void settle() {
        if (m_done)
            std::exchange(m_done, {})();
    }

    QPointer<QWebEnginePage> m_page;
    std::function<void()> m_done;
};

// The outer HTML of the topmost element above the body; null without a body.
constexpr auto kOuterHtmlScript = "(function(){var e=document.body;if(!e)return null;"
                                  "while(e.parentElement)e=e.parentElement;return e.outerHTML;})()";

} // namespace

SectionPages::SectionPages(const SessionState& session, const ProgramPaths& paths, QObject* parent)
    : QObject(parent), m_session(session), m_paths(paths) {
    tilePng = &artwork::defaultTilePng;
    m_reloadTimer.setSingleShot(true);
    connect(&m_reloadTimer, &QTimer::timeout, this, &SectionPages::runPendingReloads);
    // A view that was busy becomes free once its document has been checked.
    connect(this, &SectionPages::pageChecked, this, &SectionPages::runPendingReloads,
            Qt::QueuedConnection);
    connect(this, &SectionPages::pageChecked, this,
            [this](const QString& key) { firstCheckDone(key); });
    for (const sections::Section& s : sections::table()) {
        auto* v = new HostWebView(QString::fromLatin1(s.viewName), s.initialTag);
        m_views.insert(QString::fromLatin1(s.key), v);
        connect(v, &HostWebView::documentComplete, this,
                [this, v](bool) { ViewWebDocumentComplete(v); });
        // The pages on screen at start get their processes now: they start up while the
        // rest of the client does, instead of after the first loads are asked for.
        if (s.initialTag == 1)
            v->startPage();
    }
}

SectionPages::~SectionPages() {
    for (const QPointer<HostWebView>& v : std::as_const(m_views)) {
        if (v && !v->parentWidget())
            delete v.data();
    }
}

HostWebView* SectionPages::view(QStringView key) const {
    return m_views.value(key.toString()).data();
}

HostWebView* SectionPages::viewNamed(QStringView name) const {
    for (const sections::Section& s : sections::table()) {
        if (name == QLatin1StringView(s.viewName))
            return view(QString::fromLatin1(s.key));
    }
    return nullptr;
}

void SectionPages::placeInContainers(QWidget* middleColumn, QWidget* rightColumn) {
    if (middleColumn) {
        m_stack = new QStackedLayout(middleColumn);
        m_stack->setContentsMargins(0, 0, 0, 0);
        for (const ContentSectionInfo* s : contentSectionsInNavOrder())
            m_stack->addWidget(view(s->pageKeyText()));
        m_stack->setCurrentWidget(view(contentSection(ContentSection::Signals).pageKeyText()));
    }
    if (rightColumn) {
        auto* layout = new QVBoxLayout(rightColumn);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(view(u"rpae"));
    }
}

void SectionPages::showSection(QStringView key) {
    HostWebView* v = view(key);
    if (m_stack && v && m_stack->indexOf(v) >= 0)
        m_stack->setCurrentWidget(v);
}

void SectionPages::attachScriptHosts(CommandRegistry& registry) {
    for (const sections::Section& s : sections::table()) {
        if (HostWebView* v = view(QString::fromLatin1(s.key)))
            v->attachScriptHost(registry);
    }
}

void SectionPages::navigateSections() {
    const QString root = m_paths.endpoints.pageServer.root();
    const QString sessid = m_session.sessid();
    m_firstLoadDue.clear();
    m_firstCheckDue.clear();
    m_shownSettled = false;
    const quint64 generation = ++m_navigations;
    for (const sections::Section& s : sections::table()) {
        HostWebView* v = view(QString::fromLatin1(s.key));
        if (!v)
            continue;
        if (s.initialTag == 1) { // shown at start
            m_firstCheckDue.insert(QString::fromLatin1(s.key));
            v->navigate(QUrl(sections::startAddress(root, s, sessid)));
        } else {
            m_firstLoadDue.append(v);
        }
    }
    if (m_firstCheckDue.isEmpty()) {
        settleShownSections(generation);
        return;
    }
    QTimer::singleShot(m_hiddenSectionsDelayMs, this,
                       [this, generation] { settleShownSections(generation); });
}

void SectionPages::firstCheckDone(const QString& key) {
    if (m_firstCheckDue.remove(key) && m_firstCheckDue.isEmpty())
        settleShownSections(m_navigations);
}

void SectionPages::settleShownSections(quint64 generation) {
    if (generation != m_navigations || m_shownSettled)
        return;
    m_shownSettled = true;
    navigateHiddenSections();
    for (const std::function<void()>& then : std::exchange(m_afterShownSettled, {}))
        then();
}

void SectionPages::whenShownSectionsSettled(std::function<void()> then) {
    if (m_shownSettled)
        then();
    else
        m_afterShownSettled.append(std::move(then));
}

void SectionPages::waitForFirstRequests(int maxMs) {
    QEventLoop loop;
    int waiting = 0;
    const auto oneDone = [&] {
        if (--waiting == 0)
            loop.quit();
    };
    std::vector<std::unique_ptr<FirstRequestWatch>> watches; // unhooked when this returns
    for (const QPointer<HostWebView>& v : std::as_const(m_views)) {
        if (v && v->isBusy()) {
            ++waiting;
            watches.push_back(std::make_unique<FirstRequestWatch>(v->page(), oneDone));
        }
    }
    if (waiting == 0)
        return;
    QTimer::singleShot(maxMs, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void SectionPages::navigateHiddenSections() {
    m_firstCheckDue.clear();
    const QList<QPointer<HostWebView>> due = std::exchange(m_firstLoadDue, {});
    if (due.isEmpty())
        return;
    const QString root = m_paths.endpoints.pageServer.root();
    const QString sessid = m_session.sessid();
    for (const sections::Section& s : sections::table()) {
        HostWebView* v = view(QString::fromLatin1(s.key));
        if (v && due.contains(v))
            v->navigate(QUrl(sections::startAddress(root, s, sessid)));
    }
}

void SectionPages::runScript(QStringView key, const QString& code) {
    if (HostWebView* v = view(key))
        v->runScript(code);
}

void SectionPages::pageBody(QStringView viewName, std::function<void(const QString&)> done) {
    HostWebView* v = viewNamed(viewName);
    if (!v) {
        if (done)
            done(QString());
        return;
    }
    v->page()->runJavaScript(QStringLiteral("document.body ? document.body.innerHTML : ''"),
                             [done = std::move(done)](const QVariant& html) {
                                 if (done)
                                     done(html.toString());
                             });
}

QString SectionPages::tilePath() const {
    return m_paths.programDir + QStringLiteral("resource/grid.png");
}

void SectionPages::writeTileIfMissing() {
    const QString path = tilePath();
    if (QFileInfo::exists(path))
        return;
    makeFolders(QFileInfo(path).absolutePath());
    const QByteArray png = tilePng ? tilePng() : QByteArray();
    // A failed write leaves the page on the engine's plain background.
    QSaveFile f(path);
    if (!png.isEmpty() && f.open(QIODevice::WriteOnly) && f.write(png) == png.size())
        f.commit();
}

QString SectionPages::tileUrl() const {
    // A page of the page server may not reach file: addresses, so the tile travels inside the
    // replaced document as a data address made from grid.png.
    QFile f(tilePath());
    if (f.open(QIODevice::ReadOnly))
        return QStringLiteral("data:image/png;base64,") +
               QString::fromLatin1(f.readAll().toBase64());
    return QUrl::fromLocalFile(tilePath()).toString();
}

void SectionPages::ViewWebDocumentComplete(HostWebView* v) {
    if (!v)
        return;
    if (traceEnabled())
        trace(QStringLiteral("page loaded: ") + m_views.key(v));
    writeTileIfMissing();
    v->Tag = 1;
    const quint64 generation = ++m_generation[v];
    m_checking[v].start();
    QPointer<HostWebView> guard(v);
    QPointer<SectionPages> self(this);
    v->page()->runJavaScript(QString::fromLatin1(kOuterHtmlScript),
                             [self, guard, generation](const QVariant& html) {
                                 if (self && guard)
                                     self->classify(guard, generation, html);
                             });
}

void SectionPages::classify(HostWebView* v, quint64 generation, const QVariant& html) {
    if (m_generation.value(v) != generation)
        return; // a later document completed meanwhile; its own check decides
    m_checking.remove(v);
    const QString key = m_views.key(v);
    if (html.isNull() || !html.isValid()) {
        Q_EMIT pageChecked(key, v->Tag); // no document: stays 1
        return;
    }
    const int tag = sections::tagForDocument(html.toString());
    v->Tag = tag;
    if (traceEnabled())
        trace(QStringLiteral("page checked: %1 %2").arg(key).arg(tag));
    if (tag != sections::kApplicationPage) {
        const QString doc = sections::tileDocument(tileUrl());
        v->page()->runJavaScript(QStringLiteral("document.open();document.write(") +
                                 jsStringLiteral(doc) + QStringLiteral(");document.close();"));
    }
    Q_EMIT pageChecked(key, tag);
}

bool SectionPages::busy(HostWebView* v) const {
    if (v->isBusy() || m_firstLoadDue.contains(QPointer<HostWebView>(v)))
        return true;
    const auto it = m_checking.constFind(v);
    return it != m_checking.cend() && it->isValid() && it->elapsed() < kCheckLimitMs;
}

void SectionPages::forceReload(const QString& types) {
    for (const sections::Section* s : sections::rowsFor(types)) {
        const QString key = QString::fromLatin1(s->key);
        // A reload already waiting for this view keeps its deadline.
        if (view(key) && !m_pendingReload.contains(key))
            m_pendingReload.insert(key, QDeadlineTimer(m_reloadWaitMs));
    }
    runPendingReloads();
}

void SectionPages::runPendingReloads() {
    // The soonest moment a waiting view may be taken anyway: its deadline, or the end of the
    // limit on a page check that never answers.
    qint64 nextMs = -1;
    const auto consider = [&nextMs](qint64 ms) {
        ms = std::max<qint64>(ms, 1);
        nextMs = nextMs < 0 ? ms : std::min(nextMs, ms);
    };
    for (const sections::Section& s : sections::table()) {
        const QString key = QString::fromLatin1(s.key);
        const auto it = m_pendingReload.find(key);
        if (it == m_pendingReload.end())
            continue;
        HostWebView* v = view(key);
        const bool stillBusy = v && busy(v);
        if (stillBusy && !it->hasExpired()) {
            consider(it->remainingTime());
            const auto checking = m_checking.constFind(v);
            if (checking != m_checking.cend() && checking->isValid())
                consider(kCheckLimitMs - checking->elapsed());
            continue;
        }
        m_pendingReload.erase(it);
        if (v)
            reloadNow(v, key, stillBusy);
    }
    if (nextMs >= 0)
        m_reloadTimer.start(int(nextMs));
    else
        m_reloadTimer.stop();
}

void SectionPages::reloadNow(HostWebView* v, QStringView key, bool stuck) {
    // A view that never finished its load holds no page worth a reloadCheck: its new load
    // replaces the one that hangs.
    if (!stuck && v->Tag == sections::kApplicationPage) {
        v->runScript(QString::fromLatin1(sections::kReloadCheckZero));
        return;
    }
    const sections::Section* s = sections::find(key);
    v->navigate(QUrl(sections::reloadAddress(m_paths.endpoints.pageServer.root(), *s,
                                             m_session.sessid(), sections::localSecondsNow())));
}

void SectionPages::checkRefresh(ContentSectionSet changed) {
    const QString script = sections::reloadCheckScript(m_session.sessid());
    for (const sections::Section& s : sections::table()) {
        if (!s.content || !changed.contains(s.content->id))
            continue;
        HostWebView* v = view(QString::fromLatin1(s.key));
        if (v && v->Tag == sections::kApplicationPage) {
            v->runScript(script);
            trace(QStringLiteral("reloadCheck: ") + v->objectName());
        }
    }
}

} // namespace kovan
