#pragma once

#include "windows/LectureConfig.h"

#include <QDialog>
#include <QList>
#include <QPixmap>

#include <functional>

class QLabel;
class QPushButton;
class QTimer;

namespace kovan {

// The lecture pop-up: a borderless rounded 222 × 293 window advertising a live lecture, with
// "去听听" (go to the lecture room in the plain web window) and "别烦我" (close). Shown
// modally by showyyopen. Created hidden at start-up and kept for the whole run. GUI thread only.
class TftForm : public QDialog {
    Q_OBJECT
public:
    explicit TftForm(QWidget* parent = nullptr);

    // Opens the lecture room: called by "去听听" with (provider + " 在线投资讲座", room).
    std::function<void(const QString& title, const QString& url)> shownormalwindow;

    // Fills the labels from `lecture` and shows the window modally; returns when it closes.
    // Returns false at once, showing nothing, when no lecture is configured.
    bool showLecture(const LectureConfig& lecture);

    void RzBitBtn1Click();
    void RzBitBtn2Click();

    QLabel* Label1() const { return m_Label1; }
    QPushButton* RzBitBtn1() const { return m_RzBitBtn1; }
    QPushButton* RzBitBtn2() const { return m_RzBitBtn2; }
    // The picture's frames advance every 300 ms while the window is shown, never while hidden.
    bool animating() const;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void FormCreate();
    void advanceAnimation();

    QLabel* m_Image1 = nullptr;
    QLabel* m_Label1 = nullptr;
    QPushButton* m_RzBitBtn1 = nullptr;
    QPushButton* m_RzBitBtn2 = nullptr;
    static constexpr int kFrameCount = 3;

    QTimer* m_animation = nullptr;
    QList<QPixmap> m_frames; // drawn once, on the first frame shown
    int m_frame = 0;
    LectureConfig m_lecture;
};

} // namespace kovan
