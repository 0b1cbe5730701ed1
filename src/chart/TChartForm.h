#pragma once

#include "chart/ChartController.h"

#include <QWidget>

class QFrame;
class QSplitter;

namespace kovan {

class ChartAlertMenus;
class ChartViewWidget;
class CommandRegistry;
class HostWebView;

// A chart window: 800 × 500, a top-level window of its own (own taskbar entry, not hidden with
// the main window). The chart view MVI fills the left (532 wide at design size); the side
// panel on the right (at most 268 with its 7-pixel splitter bar, whose middle collapses and
// restores it) shows the chart panel page in ChartWeb, which reaches the same page commands as
// the main window's pages and under the same origin rule.
//
// A right click in normal mode opens the price-alert menus (ChartAlertMenus).
//
// Ctrl+S saves a picture of the chart view (ChartController::screenshot). Closing the window
// stops its feed and announces `closed`; the chart module then drops it from the registry and
// deletes it. GUI thread only.
class TChartForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 500;
    static constexpr int kPanelWidth = 268; // side panel with its splitter bar, at most
    static constexpr int kSplitterWidth = 7;

    TChartForm(const ChartController::Options& options, CommandRegistry& commands,
               QWidget* parent = nullptr);
    ~TChartForm() override;

    ChartController& controller() { return *m_controller; }
    // The price-alert menus over the chart view (their actions are set by the chart module).
    ChartAlertMenus& alertMenus() const { return *m_alertMenus; }
    ChartViewWidget* MVI() const { return m_MVI; }
    HostWebView* ChartWeb() const { return m_ChartWeb; }
    QSplitter* RzSizePanel1() const { return m_splitter; }
    bool panelCollapsed() const;
    void togglePanel();

Q_SIGNALS:
    // The user closed the window; its feed has been stopped.
    void closed(const QString& ckey);

protected:
    void closeEvent(QCloseEvent* event) override;
    // Minimised, hidden or shown again: the chart draws only while it can be seen.
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void saveScreenshot();
    QRect hotSpot() const; // of the splitter bar, in its coordinates
    void tellShown();

    ChartController* m_controller;           // child of this window
    ChartAlertMenus* m_alertMenus = nullptr; // child of this window
    QSplitter* m_splitter = nullptr;
    ChartViewWidget* m_MVI = nullptr;
    QFrame* m_RzPanel1 = nullptr;
    HostWebView* m_ChartWeb = nullptr;
    int m_panelWidth = kPanelWidth - kSplitterWidth;
};

} // namespace kovan
