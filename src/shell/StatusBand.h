#pragma once

#include "shell/ClockText.h"
#include "shell/MottoTyper.h"
#include "shell/SkinPanel.h"

#include <functional>

class QLabel;
class QTimer;

namespace kovan {

// bgBPae, the 27 px status band: icon, the motto typed out by Timer2 (300 ms), the disclaimer,
// the sound switch (audopenimg / audcloseimg) and the clock of Timer1 (1000 ms). The timers run
// while the band shows and rest while it is hidden (the main window in the tray): nothing wakes
// the client for a clock nobody sees. GUI thread only.
class StatusBand : public SkinPanel {
    Q_OBJECT
public:
    explicit StatusBand(QWidget* parent = nullptr, ClockText clock = ClockText());

    static QString disclaimer() {
        return QStringLiteral("专家团队提供的信号和方案只代表其个体建议 请谨慎参考");
    }

    QLabel* btmleftlabel() const { return m_btmleftlabel; }
    QLabel* datetimelabel() const { return m_datetimelabel; }
    QLabel* btmtiplab() const { return m_btmtiplab; }
    SkinPanel* audopenimg() const { return m_audopenimg; }
    SkinPanel* audcloseimg() const { return m_audcloseimg; }
    QTimer* Timer1() const { return m_Timer1; }
    QTimer* Timer2() const { return m_Timer2; }

    // The sound switch is on exactly when audopenimg's tag is 1 (on at every start).
    bool soundOn() const;

    // The handlers, callable directly (tests drive them without timers).
    void Timer1Timer();
    void Timer2Timer();
    // Icon clicks: go to the hooks below when set, else switch here.
    void audopenimgClick();
    void audcloseimgClick();

    // Where icon clicks go when the switch is kept elsewhere (the sound alerts own it): the
    // owner switches and calls showSoundSwitch() with the new state.
    std::function<void()> audopenimgClicked;
    std::function<void()> audcloseimgClicked;
    // Shows the state of the switch: speaker-on icon (Tag 1) when on, speaker-off when off.
    void showSoundSwitch(bool on);

    // Places the children for the band's present size; the sound switch goes left of the
    // clock (layout rule step 8). Called by the window's layout.
    void layoutChildren();

Q_SIGNALS:
    void soundSwitched(bool on);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    ClockText m_clock;
    MottoTyper m_motto;
    SkinPanel* m_Image1 = nullptr;
    QLabel* m_btmleftlabel = nullptr;
    QLabel* m_btmtiplab = nullptr;
    QLabel* m_datetimelabel = nullptr;
    SkinPanel* m_audopenimg = nullptr;
    SkinPanel* m_audcloseimg = nullptr;
    QTimer* m_Timer1 = nullptr;
    QTimer* m_Timer2 = nullptr;
};

} // namespace kovan
