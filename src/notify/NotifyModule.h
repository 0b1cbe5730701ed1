#pragma once

#include <QString>

#include <functional>
#include <memory>

namespace kovan {

class CommandRegistry;
class Lifecycle;
class SoundAlerts;
class TrbMsgForm;
class TtopFloatForm;

// Signals and notifications: the corner pop-up, the floating bar with its news ticker, the
// sound alerts with the speaker switch, and the page commands that feed them.
//
// Offers: the floating bar and newest-notice hooks of the main window's tray menu and
// minimise/close rules; the sound alerts (the status band shows their switch). Needs: the
// content pane (notices and news open service pages there) and the video window.
//
// Exit: the floating bar is hidden and the pop-up closed when showing. GUI thread only.
class NotifyModule {
public:
    struct Needs {
        // Opens a page-server page "/tools/" + params in the content pane.
        std::function<void(const QString& title, const QString& params, int staytitle,
                           const QString& destory)>
            showoptPage;
        // Downloads and plays a video in the video window.
        std::function<void(const QString& title, const QString& url)> playVideo;
    };

    // `soundDir`: the local sound folder.
    explicit NotifyModule(const QString& soundDir);
    ~NotifyModule();
    NotifyModule(const NotifyModule&) = delete;
    NotifyModule& operator=(const NotifyModule&) = delete;

    void setNeeds(Needs needs) { m_needs = std::move(needs); }
    // audioPlay.
    void registerCommands(CommandRegistry& registry);
    void addSteps(Lifecycle& lifecycle);

    // Hooks of the main window.
    bool floatBarShowing() const;
    void showFloatBar(bool bringToFront);
    void showNewestNotice();

    SoundAlerts* sounds() const { return m_sounds.get(); }
    TtopFloatForm* floatBar() const { return m_floatBar.get(); }
    TrbMsgForm* popup() const { return m_popup.get(); }

private:
    Needs m_needs;
    std::unique_ptr<SoundAlerts> m_sounds;
    std::unique_ptr<TtopFloatForm> m_floatBar;
    std::unique_ptr<TrbMsgForm> m_popup;
};

} // namespace kovan
