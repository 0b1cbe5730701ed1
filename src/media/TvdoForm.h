#pragma once

#include "media/VideoController.h"

#include <QWidget>

class QLabel;
class QMovie;
class QToolButton;

namespace kovan {

class PosPae;
class VideoSurface;

// The video window: a top-level window of its own (own taskbar entry), 734 × 492 client area,
// sizeable. The video surface `pvPae` above the control bar `RzPanel1` with the play, pause
// and stop buttons, the position bar `posPae` and the time label `ltPae`; the loading picture
// `loadimg` with its label `loadlab` while a video loads. The rules live in VideoController;
// this class lays out, paints and forwards. Closing hides it (FormClose).
//
// Created hidden at start-up and kept for the whole run. GUI thread only.
class TvdoForm : public QWidget {
    Q_OBJECT
public:
    explicit TvdoForm(QWidget* parent = nullptr);
    ~TvdoForm() override;

    VideoController& controller() { return *m_controller; }
    void loadVideo(const QString& aInfo);

    // The parts, for tests.
    VideoSurface* surface() const { return m_pvPae; }
    PosPae* positionBar() const { return m_posPae; }
    QLabel* timeLabel() const { return m_ltPae; }
    QLabel* loadingLabel() const { return m_loadlab; }
    QLabel* loadingPicture() const { return m_loadimg; }
    QToolButton* playButton() const { return m_btnPlay; }
    QToolButton* pauseButton() const { return m_btnPause; }
    QToolButton* stopButton() const { return m_btnStop; }

    // The loading picture written to `dir`/vdo.gif and animated (FormCreate's part that needs
    // the cache folder; done at the first load).
    void prepareLoadingPicture(const QString& dir);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // The video surface with the loading picture and its label.
    void buildSurface();
    // The control bar with its buttons, the position bar and the time label.
    void buildControlBar();
    // Buttons and position bar to the controller; its changes to the widgets.
    void connectParts();
    void FormResize();
    void applyView();
    // The loading picture runs while the window shows it, and is paused otherwise.
    void updateLoadingAnimation();

    std::unique_ptr<VideoController> m_controller;
    VideoSurface* m_pvPae = nullptr;
    QLabel* m_loadimg = nullptr;
    QLabel* m_loadlab = nullptr;
    QMovie* m_movie = nullptr;
    QWidget* m_rzPanel1 = nullptr;
    QToolButton* m_btnPlay = nullptr;
    QToolButton* m_btnPause = nullptr;
    QToolButton* m_btnStop = nullptr;
    PosPae* m_posPae = nullptr;
    QLabel* m_ltPae = nullptr;
    bool m_onTop = false;
};

} // namespace kovan
