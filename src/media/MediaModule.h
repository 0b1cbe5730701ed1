#pragma once

#include "core/ClientPart.h"
#include <QString>

#include <memory>

namespace kovan {

class CommandRegistry;
class Lifecycle;
class TvdoForm;

// The video window: a video downloaded into the cache and played while it arrives.
//
// Offers: playVideo, for the notices' "video" action. GUI thread only.
class MediaModule : public ClientPart {
public:
    MediaModule();
    ~MediaModule();
    MediaModule(const MediaModule&) = delete;
    MediaModule& operator=(const MediaModule&) = delete;

    void registerCommands(CommandRegistry& registry) override;
    void addSteps(Lifecycle& lifecycle) override;

    // Opens the video window on `url` with the caption `title`.
    void playVideo(const QString& title, const QString& url);

    TvdoForm* videoForm() const { return m_vdoForm.get(); }

private:
    std::unique_ptr<TvdoForm> m_vdoForm;
};

} // namespace kovan
