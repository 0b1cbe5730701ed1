#pragma once

#include "core/Endpoints.h"

#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>

namespace kovan {

class rfdThread;
class ThreadSNPS;

// Sound alerts of notices and pages, and the speaker switch of the main window's bottom bar.
// Sounds are WAV files in the local sound folder; one that is missing is fetched once from the
// page server's "/filelist/sound/" folder and played when it has arrived.
//
// GUI thread only. The main window owns one, paints the two speaker icons from
// switchChanged() / isOn() (speaker-on icon visible exactly when on), and routes the page
// commands and icon clicks here:
//
//     QString audioPlay(params)          // play a sound by file name; result "1"
//     QString audopenimgClick(params)    // speaker-on icon clicked: switch off; result "1"
//     QString audcloseimgClick(params)   // speaker-off icon clicked: switch on; result "1"
//
// Notices consult isOn() before audioPlay(); the playaudio command does not.
class SoundAlerts : public QObject {
    Q_OBJECT
public:
    // Plays a local file; tests replace it. The default plays on one ThreadSNPS at a time: a
    // sound asked for while another plays cuts that one off and follows it, and of several
    // asked for meanwhile only the newest plays, so a burst of requests costs one thread.
    using Player = std::function<void(const QString& path)>;

    // `soundDir`: the local sound folder, with or without a trailing "/"; missing sounds are
    // fetched from the page server of `endpoints`, which outlives this object.
    SoundAlerts(const QString& soundDir, const Endpoints& endpoints, QObject* parent = nullptr);
    // A sound still playing stops, so that the program's end does not wait for it.
    ~SoundAlerts() override;

    void setPlayer(Player player) { m_player = std::move(player); }
    // Time-outs of sound downloads, in milliseconds (tests shorten them).
    void setDownloadTimeoutsMs(int connectMs, int readMs);

    // Page command: plays `audFile` (a bare file name such as "alert.wav") from the sound
    // folder, or fetches it first. A name holding a path separator, or "." / "..", is
    // ignored: a page must not make the client write outside the sound folder.
    //
    // Fetches are bounded: a name already being fetched or waiting is not fetched again (it
    // plays once when it arrives), at most kMaxFetches downloads run at a time, and at most
    // kMaxWaiting more names wait for a free download; later ones are dropped. A page that
    // calls this in a loop costs at most that many threads.
    QString audioPlay(const QString& audFile);
    static constexpr int kMaxFetches = 4;
    static constexpr int kMaxWaiting = 16;
    // Downloads running and names waiting (tests, diagnostics).
    int fetchesRunning() const { return int(m_fetching.size()); }
    int fetchesWaiting() const { return int(m_waiting.size()); }
    // Whether a sound thread runs (tests, diagnostics).
    bool playing() const { return m_sound != nullptr; }
    // End handler of a sound fetch: plays the fetched file when it is there.
    void audioDown(rfdThread* sender);

    // The switch: on exactly when audopenimg.Tag is 1. On at every start, never saved.
    bool isOn() const { return m_audopenTag == 1; }
    int audopenimgTag() const { return m_audopenTag; }
    QString audopenimgClick(const QString& params = {});
    QString audcloseimgClick(const QString& params = {});

    QString localPath(const QString& audFile) const;
    static QString remotePath(const QString& audFile);

Q_SIGNALS:
    // The switch changed: show audopenimg and hide audcloseimg when `on`, the reverse if not.
    void switchChanged(bool on);
    // A fetch ended (after audioDown ran); `stored` tells whether a file arrived.
    void fetchFinished(const QString& dstFile, bool stored);

private:
    void play(const QString& path);
    void startPlayback(const QString& path);
    void startFetch(const QString& audFile);

    QSet<QString> m_fetching; // names being downloaded
    QStringList m_waiting;    // names waiting for a free download, oldest first
    QString m_soundDir;       // with a trailing "/"
    const Endpoints& m_endpoints;
    Player m_player;
    // The sound thread of ours that runs, if any. It frees itself only after its end handler
    // (which clears this) has run, so the pointer is valid while set.
    ThreadSNPS* m_sound = nullptr;
    QString m_nextSound; // to play when it has ended; empty: none
    int m_audopenTag = 1;
    int m_connectTimeoutMs;
    int m_readTimeoutMs;
};

} // namespace kovan
