#pragma once

#include "core/ClientPart.h"
#include "core/OnFirstUse.h"
#include "core/ProgramPaths.h"
#include <QString>

#include <memory>

namespace kovan {

class CommandRegistry;
class Lifecycle;
class TvdoForm;

// The video window: a video downloaded into the cache and played while it arrives.
//
// Offers: the page command playVideo; playVideo(title, url), for the notices' "video" action.
// Needs: the paths (the program folder's cache keeps the videos).
// Exit: the download and the player end with the other workers, the window hides.
// GUI thread only.
class MediaModule : public ClientPart {
public:
    struct Needs {
        // Required; outlives the module.
        const ProgramPaths* paths = nullptr;
    };

    MediaModule();
    ~MediaModule();
    MediaModule(const MediaModule&) = delete;
    MediaModule& operator=(const MediaModule&) = delete;

    void setNeeds(const Needs& needs) { m_needs = needs; }
    void registerCommands(CommandRegistry& registry) override;
    void addSteps(Lifecycle& lifecycle) override;

    // The page command: shows the window when hidden and loads the video described by the
    // JSON text {url, title}.
    void playVideoCommand(const QString& aParam);
    // Opens the video window on `url` with the caption `title`.
    void playVideo(const QString& title, const QString& url);

    TvdoForm* videoForm(); // made on the first call

private:
    Needs m_needs;
    OnFirstUse<TvdoForm> m_vdoForm; // made with the first video
};

} // namespace kovan
