#pragma once

#include "core/PageHooks.h"
#include "shell/FormLayout.h"
#include "shell/MainFormState.h"
#include "shell/SkinPanel.h"
#include "shell/TrayPolicy.h"

#include <QWidget>

class QLabel;
class QMovie;

namespace kovan {

class EdgeResizer;
class RatesTicker;
class SectionArea;
class StatusBand;
class TickerView;
class TitleBand;
class TrayIcon;

// The main window: a borderless, skinned frame with the title band, the section pages, the
// right column, the ticker and status bands and the content pane. It lays its parts out, goes
// out of the way (into the tray, or to the task bar where the desktop has no tray: TrayPolicy
// decides) and takes its part in the exit procedure. The parts are their own classes
// (TitleBand, SectionArea, StatusBand, RatesTicker, TrayIcon) and the rules plain ones
// (FormLayout, HitZones, CaptionButtons, …); this class binds them to each other and to the
// other parts of the client through MainFormHooks.
//
// GUI thread only, except ratesTicker(), whose IRatesTicker side any thread may call.
class TMainForm : public QWidget {
    Q_OBJECT
public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // Containers the other parts of the window fill.
    QWidget* bgMPae() const { return m_bgMPae; }     // middle column (section panels)
    QWidget* bgRPae() const { return m_bgRPae; }     // right column (rtWeb)
    QWidget* ConBgPae() const { return m_ConBgPae; } // content pane, covers the middle column

    // Puts the five section views in place: the four sections into their panels below the
    // header bars, rtWeb into the right column. Any may be null.
    void setSectionViews(QWidget* sgWeb, QWidget* ayWeb, QWidget* plWeb, QWidget* dtWeb,
                         QWidget* rtWeb);

    // How the window reaches the web views and the other parts; filled in once while the
    // program is wired, before start-up.
    MainFormHooks& hooks() { return m_hooks; }
    // What the window reads of the program state; filled in the same way.
    MainFormState& state() { return m_state; }

    // Start-up steps of the window (StartStep::ShowFirstSection, LoadEarnGif, LoadSkin).
    void showFirstSection();
    void loadEarnGif();
    void loadSkin();

    TitleBand* titleBand() const { return m_titleBand; }
    SectionArea* sections() const { return m_sections; }
    StatusBand* statusBand() const { return m_bgBPae; }
    TrayIcon* trayIcon() const { return m_tray; }
    // The rates ticker; the sync worker calls its IRatesTicker side from its own thread.
    RatesTicker* ratesTicker() const { return m_ratesTicker; }

    // The window's part of the exit procedure: hidden for good (a later close request no
    // longer hides it to the tray), the rates ticker told to stop.
    void hideForExit();

    // Brings the window up (tray icon left button).
    void bringToFront();
    // Visible and not minimised: what the floating bar's "show the main window" items ask.
    bool shownNormally() const;

    // The desktop's tray came or went (TrayPresence): the icon follows, and a window hidden
    // in a tray that went comes back minimised.
    void setTrayAvailable(bool available);
    // The end of start-up: shown, or (started at login) in the tray or minimised, with the
    // floating bar as on a minimise.
    void showAtStart(bool atLogin);
    // The floating bar closed: a window hidden without a tray comes back minimised.
    void floatBarClosed();

    // Handlers of the chrome, callable directly.
    void FormResize();
    void MLinePaeClick(const QPoint& clientPos); // cursor in window client coordinates
    void minImgClick();
    void ClsImgClick();
    // SC_MINIMIZE / SC_CLOSE: into the tray, or minimised without one (floating bar when a
    // session exists).
    void hideToTray();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    SkinPanel* makePanel(const QString& name);
    void buildTitleBand();
    void buildColumns();
    void buildBottomBands();
    void buildTray();
    void applyColumns();
    void updateWindowMask();
    void MyHotBtPaeClick();
    // Tray item "浮窗(&F)" and the close picture: the floating bar, unless it shows already.
    void showFloatBarOnce();
    TrayPolicy::Facts trayFacts() const;
    void apply(TrayPolicy::Outcome outcome);

    FormLayout m_layout;
    EdgeResizer* m_edges = nullptr;
    MainFormHooks m_hooks;
    MainFormState m_state;

    TitleBand* m_titleBand = nullptr;

    SkinPanel* m_bgMPae = nullptr;
    SkinPanel* m_MLinePae = nullptr;
    SkinPanel* m_bgRPae = nullptr;
    QWidget* m_rtWeb = nullptr;
    QWidget* m_ConBgPae = nullptr;

    SkinPanel* m_btTipPae = nullptr;
    TickerView* m_btmIV = nullptr;
    SkinPanel* m_RzPanel23 = nullptr;
    QLabel* m_Image3 = nullptr;
    QMovie* m_earnMovie = nullptr;
    StatusBand* m_bgBPae = nullptr;

    SectionArea* m_sections = nullptr;
    RatesTicker* m_ratesTicker = nullptr;
    TrayIcon* m_tray = nullptr;
    TrayPolicy m_trayPolicy;

    bool m_exiting = false;
    bool m_minimising = false; // the window minimises itself: its state change is no request
};

} // namespace kovan
