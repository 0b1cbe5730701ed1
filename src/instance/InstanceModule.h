#pragma once

#include "core/ClientPart.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

namespace kovan {

class FolderLock;
class InstanceListener;
class Lifecycle;

// One client per user and program folder, the running client's side: once start-up is done it
// listens on the folder's channel, so a later start brings its main window to the front or
// (kovan --quit) runs its exit procedure instead of starting a second client; when the exit
// begins it stops listening and marks the folder's lock "ending". The hand-over of a start
// itself runs before the client's parts exist (HandOver).
//
// Needs: the folder's lock (held by this process, or not when the start could not take it:
// then nothing listens), the channel's socket path, the main window to the front (with the
// second start's start-up id), the exit procedure. GUI thread only.
class InstanceModule : public ClientPart {
public:
    struct Needs {
        FolderLock* lock = nullptr; // outlives the module
        QString socketPath;
        std::function<void(const QByteArray& startupId)> raise;
        std::function<void()> exitProcedure;
    };

    InstanceModule();
    ~InstanceModule();

    void setNeeds(Needs needs);
    // Exit, first of all: the channel closed, the lock marked ending.
    void addSteps(Lifecycle& lifecycle) override;

    // After start-up (also one an error cut short: the client runs on): later starts hand
    // over from now on.
    void listen();
    bool listening() const;

private:
    void stop();

    Needs m_needs;
    std::unique_ptr<InstanceListener> m_listener;
};

} // namespace kovan
