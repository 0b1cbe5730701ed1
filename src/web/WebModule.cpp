#include "web/WebModule.h"

#include "core/Lifecycle.h"
#include "shell/SkinImages.h"
#include "web/ContentPane.h"
#include "web/HostWebView.h"
#include "web/SectionPages.h"
#include "web/SectionRules.h"
#include "web/WebArtwork.h"
#include "web/WebCommands.h"
#include "web/WebEngineSetup.h"

#include <QPixmap>

namespace kovan {

WebModule::WebModule() = default;

void WebModule::setNeeds(const Needs& needs) {
    serveBridgeFor(needs.paths->endpoints.pageServer);
    m_pages = new SectionPages(*needs.session, *needs.paths);
    m_pane = new ContentPane(needs.contentContainer, needs.middleColumn, needs.paths->endpoints);
    m_pages->tilePng = [] {
        const QByteArray png =
            SkinImages::encoded(QStringLiteral("TOPIMG") + QString::number(SkinImages::kPageTile));
        return png.isEmpty() ? artwork::defaultTilePng() : png;
    };
}

WebModule::~WebModule() {
    // Views placed in the main window go with it; the rest with the section pages.
    delete m_pages;
}

void WebModule::registerCommands(CommandRegistry& registry) {
    m_registry = &registry;
    WebCommandTargets targets;
    targets.contentPane = m_pane;
    targets.sectionPages = m_pages;
    registerWebCommands(registry, targets);
}

void WebModule::addSteps(Lifecycle& lifecycle) {
    lifecycle.onStart(StartStep::ShowFirstSection, [pane = m_pane] {
        pane->ConWeb()->navigate(QUrl(QStringLiteral("about:blank")));
    });
    lifecycle.onStart(StartStep::AttachScriptHosts, [this] {
        Q_ASSERT(m_registry); // registerCommands came first
        CommandRegistry& registry = *m_registry;
        const SkinImages& s = skin();
        QList<QPixmap> frames;
        for (const QImage& frame : s.loadingFrames)
            frames.append(QPixmap::fromImage(frame));
        m_pane->setLoadingFrames(frames);
        m_pane->setTitleImage(QPixmap::fromImage(s.top(SkinImages::kSectionHeaderStrip)));
        m_pane->setButtonImages(QPixmap::fromImage(s.ibtn(SkinImages::kPaneButtonLeft)),
                                QPixmap::fromImage(s.ibtn(SkinImages::kPaneButtonMiddle)),
                                QPixmap::fromImage(s.ibtn(SkinImages::kPaneButtonRight)));
        m_pages->attachScriptHosts(registry);
        m_pane->attachScriptHost(registry);
    });
    lifecycle.onStart(StartStep::NavigateSections, [pages = m_pages] {
        pages->navigateSections();
        pages->waitForFirstRequests(SectionPages::kFirstRequestsWaitMs);
    });
}

std::function<void(std::function<void()>)> WebModule::whenPagesShown() const {
    return [pages = m_pages](std::function<void()> then) {
        pages->whenShownSectionsSettled(std::move(then));
    };
}

PageHooks WebModule::pageHooks() const {
    PageHooks hooks;
    SectionPages* pages = m_pages;
    ContentPane* pane = m_pane;
    hooks.runPageScript = [pages](const QString& view, const QString& script) {
        if (HostWebView* v = pages->viewNamed(view))
            v->runScript(script);
    };
    hooks.pageBody = [pages](const QString& view, std::function<void(const QString&)> done) {
        pages->pageBody(view, std::move(done));
    };
    hooks.navigateView = [pages](const QString& view, const QString& url) {
        if (HostWebView* v = pages->viewNamed(view))
            v->navigate(QUrl(url));
    };
    hooks.showoptPage = [pane](const QString& title, const QString& params, int staytitle,
                               const QString& destory) {
        pane->showoptPage(title, params, staytitle, destory);
    };
    return hooks;
}

std::array<QWidget*, 5> WebModule::sectionViews() const {
    std::array<QWidget*, 5> views{};
    for (qsizetype i = 0; i < sections::table().size(); ++i)
        views[std::size_t(i)] = m_pages->view(QString::fromLatin1(sections::table()[i].key));
    return views;
}

ISectionPages* WebModule::sectionPagesForSync() const {
    return m_pages;
}

} // namespace kovan
