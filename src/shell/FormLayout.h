#pragma once

#include <QRect>

namespace kovan {

// The layout rule of the main window and the divider that collapses the right column, as plain
// geometry: no widgets, just the window size in, panel bounds out (window client coordinates,
// pixels). TMainForm applies the bounds to its panels. GUI thread (no shared state).
//
// Fixed bands: 85 px top band; 25 px ticker band plus 27 px status band at the bottom (52); a
// 7 px divider and a 200 px right column (207).
class FormLayout {
public:
    static constexpr int kTopBand = 85;
    static constexpr int kBottomBands = 52; // ticker 25 + status 27
    static constexpr int kTickerBand = 25;
    static constexpr int kStatusBand = 27;
    static constexpr int kDivider = 7;
    static constexpr int kRightColumn = 200;
    static constexpr int kArrowZone = 45; // the clickable arrow in the middle of the divider

    // Smallest size at which every panel still has a positive size (the rule itself would go
    // negative below 207 × 137); the window does not shrink below it.
    static constexpr int kMinWidth = kRightColumn + kDivider + 1;
    static constexpr int kMinHeight = kTopBand + kBottomBands + 1;

    // FormResize: always the expanded geometry. Does not touch the collapsed flag, so a resize
    // while collapsed leaves the right column hidden and the divider in its collapsed state.
    void resize(int width, int height);

    // MLinePaeClick with the cursor at window client (x, y). Acts only inside the arrow zone;
    // returns whether it did (collapsed or expanded the right column).
    bool dividerClick(int x, int y);

    // Whether the point lies on the divider's arrow (only y matters).
    bool onArrow(int y) const;

    bool collapsed() const { return m_collapsed; } // MLinePae.Tag: 1 = collapsed
    bool rightColumnVisible() const { return !m_rightHidden; }

    int width() const { return m_width; }
    int height() const { return m_height; }

    QRect middleColumn() const { return m_middle; } // bgMPae
    QRect divider() const { return m_divider; }     // MLinePae
    QRect rightColumn() const { return m_right; }   // bgRPae

    // Every section panel inside the middle column (bgMPae coordinates).
    QRect sectionPanel() const;
    // The content pane covers the middle column exactly (window coordinates).
    QRect contentPane() const;
    // The divider's arrow inside the divider (MLinePae coordinates): (0, (h − 45) div 2, 7, 45).
    QRect arrowRect() const;
    QRect tickerBand() const { return {0, m_height - kBottomBands, m_width, kTickerBand}; }
    QRect statusBand() const { return {0, m_height - kStatusBand, m_width, kStatusBand}; }
    QRect topBand() const { return {0, 0, m_width, kTopBand}; }

    // Header bar of a section panel: button widths (25 px high, at top 8) and the lefts the
    // layout rule gives them for a panel `panelWidth` wide. Refresh buttons sit 80 px from the
    // panel's right edge; the others chain leftwards from them.
    static constexpr int kHeaderHeight = 39;
    static constexpr int kHeaderButtonTop = 8;
    static constexpr int kGroupLeft = 10;
    static constexpr int kGroupButtonWidth = 60;
    static constexpr int kActionWidth = 60;     // 刷新, 设置, 图形
    static constexpr int kWideActionWidth = 80; // 有声有色, 投资品种
    static constexpr int kStyleGroupWidth = 120;
    static constexpr int kAnalysisGroupWidth = 240;
    struct HeaderPlaces {
        int refresh; // sgBtnRht, dtBtnRht, ayBtnRht, plBtnRht (each in its own panel)
        int sgBtnSet;
        int sgBtnChart;
        int RzPanel14; // style group
        int aySYMTypeBT;
        int artVideoBtn;
    };
    static HeaderPlaces headerPlaces(int panelWidth);

private:
    void applyExpanded();

    int m_width = 0;
    int m_height = 0;
    bool m_collapsed = false;
    bool m_rightHidden = false;
    QRect m_middle;
    QRect m_divider;
    QRect m_right;
};

} // namespace kovan
