#pragma once

#include "core/ClientPart.h"
#include "core/OnFirstUse.h"
#include "core/ProgramPaths.h"
#include "core/SettingsStore.h"

#include <QString>

#include <memory>

namespace kovan {

class TcsnmForm;
class TftForm;
class TtosForm;

// The auxiliary windows: the chart terms window, the lecture pop-up and the plain web window.
//
// Offers: the page commands normalwindow (the plain web window) and showyyopen (the lecture
// pop-up, modal); showTerms (the terms window, modal) to the chart windows. Needs: the
// settings (the lecture's, the accepted terms) and the paths (the page server).
// GUI thread only.
class WindowsModule : public ClientPart {
public:
    struct Needs {
        // State pieces, required; they outlive the module.
        SettingsStore* settings = nullptr;
        const ProgramPaths* paths = nullptr;
    };

    WindowsModule();
    ~WindowsModule();
    WindowsModule(const WindowsModule&) = delete;
    WindowsModule& operator=(const WindowsModule&) = delete;

    void setNeeds(const Needs& needs) { m_needs = needs; }
    // normalwindow and showyyopen.
    void registerCommands(CommandRegistry& registry) override;

    // Shows `url` in the plain web window with a caption made from `title`.
    void shownormalwindow(const QString& title, const QString& url);
    // Shows the lecture pop-up of the configured lecture modally; false when none is configured.
    bool showLecture();
    // Shows the terms page `url` modally; an acceptance sets `settingsKey` to "1" and saves the
    // settings before the window closes. True when accepted.
    bool showTerms(const QString& url, const QString& settingsKey);

private:
    Needs m_needs;
    // Each made on its first use.
    OnFirstUse<TtosForm> m_tosForm;
    OnFirstUse<TftForm> m_lectureForm;
    OnFirstUse<TcsnmForm> m_webForm;
};

} // namespace kovan
