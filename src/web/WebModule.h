#pragma once

#include "core/ClientPart.h"
#include "core/PageHooks.h"
#include "core/ProgramPaths.h"
#include "core/SessionState.h"

#include <QWidget>

#include <array>
#include <functional>

namespace kovan {

class CommandRegistry;
class ContentPane;
class ISectionPages;
class Lifecycle;
class SectionPages;

// The web part of the client: the five section views, the content pane over the main
// window's middle column, the page bridge in each of them, and the page commands of the web
// part (see registerWebCommands).
//
// Offers: the page hooks of the main window, the section pages for the sync loop, the views
// for the main window to place, the content pane for whoever opens service pages, once the
// needs are set. Needs: the session (its id goes into every page address), the paths (the page
// server, the program folder with the background tile) and the main window's containers.
//
// GUI thread only. The views and the pane live as long as the main window's containers (they
// are parented to them once placed) or this module, whichever goes first.
class WebModule : public ClientPart {
public:
    struct Needs {
        // State pieces, required; they outlive the module.
        const SessionState* session = nullptr;
        const ProgramPaths* paths = nullptr;
        // The main window's ConBgPae, and its bgMPae, which the content pane covers when it
        // shows.
        QWidget* contentContainer = nullptr;
        QWidget* middleColumn = nullptr;
    };

    WebModule();
    ~WebModule();
    WebModule(const WebModule&) = delete;
    WebModule& operator=(const WebModule&) = delete;

    // Once, before anything else is asked of the module: makes the views and the pane.
    void setNeeds(const Needs& needs);
    // The pages' bridge dispatches to `registry`, which must outlive this module.
    void registerCommands(CommandRegistry& registry) override;
    // Start-up: the content pane blank; the bridge in every view (with the pane's pictures);
    // the first loads of the section pages.
    void addSteps(Lifecycle& lifecycle) override;

    PageHooks pageHooks() const;
    // sgWeb, ayWeb, plWeb, dtWeb, rtWeb.
    std::array<QWidget*, 5> sectionViews() const;
    ISectionPages* sectionPagesForSync() const;
    // Runs a step once the first loads of the sections on screen are in (see
    // SectionPages::whenShownSectionsSettled).
    std::function<void(std::function<void()>)> whenPagesShown() const;
    SectionPages* sectionPages() const { return m_pages; }
    ContentPane* contentPane() const { return m_pane; }

private:
    CommandRegistry* m_registry = nullptr; // set by registerCommands
    SectionPages* m_pages = nullptr;
    ContentPane* m_pane = nullptr;
};

} // namespace kovan
