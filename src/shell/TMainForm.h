#pragma once

#include "core/PageHooks.h"
#include "shell/CaptionButtons.h"
#include "shell/FormLayout.h"
#include "shell/SkinPanel.h"

#include <QImage>
#include <QWidget>

#include <functional>

class QLabel;
class QLocalServer;
class QMenu;
class QMovie;
class QSystemTrayIcon;
class QAction;

namespace kovan {

class EdgeResizer;
class RatesTicker;
class SectionArea;
class StatusBand;
class TickerView;

// The main window: a borderless, skinned frame with the section pages, the right column, the
// status and ticker bands and the content pane. It owns the tray icon and runs the exit
// procedure. The layout, hit zones, navigation, status band and ticker logic live in plain
// classes (FormLayout, HitZones, SectionNavigation, FilterGroup, MottoTyper, ClockText,
// TickerSheet, TickerScroll); this class binds them to widgets and timers.
//
// GUI thread only, except ratesTicker(), whose IRatesTicker side any thread may call.
class TMainForm : public QWidget {
    Q_OBJECT
public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // The user label in the title bar ("    访客    " until a session is known). A click on it
    // opens the member centre.
    QLabel* topUNLab() const { return m_topUNLab; }

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
    PageHooks& pageHooks() { return m_hooks.pages; }

    // Page command "switchPae": shows the section panel of the key ("sg", "dt", "ay", "pl");
    // the navigation highlight stays where it is. Answers "1"; an unknown key throws
    // InvalidAccessError.
    QString switchPae(const QString& param);

    // Start-up steps of the window (StartStep::LoadImages, ShowFirstSection, LoadEarnGif,
    // LoadSkin).
    void loadStartImages();
    void showFirstSection();
    void loadEarnGif();
    void loadSkin();

    // The member picture: guest (LOGO1, reacts to the mouse) or member (LOGO2, Tag 1).
    void setMemberPicture(bool member);
    SkinPanel* logIMG() const { return m_logIMG; }
    const QImage& logIMGPicture() const { return m_logIMGPicture; }
    // The member state the member part reports: the picture, and the user label's text.
    void setMemberState(bool member, const QString& userLabel);

    // The rates ticker; the sync worker calls its IRatesTicker side from its own thread.
    RatesTicker* ratesTicker() const { return m_ratesTicker; }
    StatusBand* statusBand() const { return m_bgBPae; }
    // The sound switch (audopenimg.Tag = 1).
    bool soundSwitchOn() const;
    SectionArea* sections() const { return m_sections; }
    const FormLayout& formLayout() const { return m_layout; }
    const CaptionButtons& captionButtons() const { return m_caption; }

    // Tray icon. Without a system tray (e.g. a bare X server) the icon simply is not shown; the
    // client runs on without one.
    void addTrayIcon();
    void removeTrayIcon();
    bool trayIconAdded() const { return m_trayAdded; }

    // Listens on the local socket "wm_closecoear": a peer writing that line makes the window
    // remove its tray icon and nothing else.
    void registerCloseMessage();

    // The window's part of the exit procedure: hidden for good (a later close request no
    // longer hides it to the tray), the rates ticker told to stop.
    void hideForExit();

    // Brings the window up (tray icon left button).
    void bringToFront();

    // Handlers of the chrome, callable directly.
    void FormResize();
    void MLinePaeClick(const QPoint& clientPos); // cursor in window client coordinates
    void MaxImgClick();
    void MaxImgMouseEnter();
    void MaxImgMouseLeave();
    void minImgClick();
    void ClsImgClick();
    void MyHotBtPaeClick();
    // SC_MINIMIZE / SC_CLOSE: hide to the tray (floating bar when a session exists).
    void hideToTray();

    // Tray menu items.
    void PopupMenu1Popup();
    QMenu* trayMenu() const { return m_trayMenu; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

Q_SIGNALS:
    void resized();

private:
    SkinPanel* makePanel(const QString& name, QWidget* parent);
    void buildTopBand();
    void buildColumns();
    void buildBottomBands();
    void applyColumns();
    void layoutTopBand();
    void updateWindowMask();

    void buildTrayMenu();
    void N5Click();  // "隐藏(&H)" / "显示(&S)": toggles the window
    void N9Click();  // "浮窗(&F)": the floating bar
    void H1Click();  // "提醒事件(&H)": the newest notice
    void N10Click(); // "会员中心(&M)": the member centre page
    void N8Click();  // "退出(&X)": the exit procedure

    FormLayout m_layout;
    EdgeResizer* m_edges = nullptr;
    CaptionButtons m_caption;
    MainFormHooks m_hooks;

    SkinPanel* m_bgTPae = nullptr;
    SkinPanel* m_logoPae = nullptr;
    SkinPanel* m_logIMG = nullptr;
    QImage m_logIMGPicture;
    QLabel* m_RzLabel1 = nullptr;
    QWidget* m_RzPanel2 = nullptr;
    SkinPanel* m_topPae2 = nullptr;
    QLabel* m_topUNLab = nullptr;
    QWidget* m_RzPanel1 = nullptr;
    SkinPanel* m_minImg = nullptr;
    SkinPanel* m_MaxImg = nullptr;
    SkinPanel* m_ClsImg = nullptr;
    SkinPanel* m_RzPanel5 = nullptr;
    SkinPanel* m_RzPanel6 = nullptr;

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

    QSystemTrayIcon* m_trayIcon = nullptr;
    QMenu* m_trayMenu = nullptr;
    QAction* m_N5 = nullptr;
    bool m_trayAdded = false;
    QLocalServer* m_closeServer = nullptr;

    bool m_exiting = false;
};

} // namespace kovan
