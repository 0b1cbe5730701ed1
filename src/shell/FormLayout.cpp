#include "shell/FormLayout.h"

namespace kovan {

void FormLayout::resize(int width, int height) {
    m_width = width;
    m_height = height;
    applyExpanded();
}

void FormLayout::applyExpanded() {
    const int h = m_height - kTopBand - kBottomBands;
    m_middle = QRect(0, kTopBand, m_width - kRightColumn - kDivider, h);
    m_divider = QRect(m_width - kRightColumn - kDivider, kTopBand, kDivider, h);
    m_right = QRect(m_width - kRightColumn, kTopBand, kRightColumn, h);
}

bool FormLayout::onArrow(int y) const {
    // Centre of the divider in window coordinates, in floating point as the click test wants.
    const double c = m_divider.height() / 2.0 + kTopBand;
    return c - 22 < y && y < c + 22;
}

bool FormLayout::dividerClick(int /*x*/, int y) {
    if (!onArrow(y))
        return false;
    const int h = m_height - kTopBand - kBottomBands;
    if (m_collapsed) {
        applyExpanded();
        m_rightHidden = false;
        m_collapsed = false;
    } else {
        m_collapsed = true;
        m_rightHidden = true;
        m_divider = QRect(m_width - kDivider, kTopBand, kDivider, h);
        m_middle = QRect(0, kTopBand, m_width - kDivider, h);
    }
    return true;
}

QRect FormLayout::sectionPanel() const {
    return {2, 0, m_middle.width() - 2, m_middle.height()};
}

QRect FormLayout::contentPane() const {
    return {2, kTopBand, m_middle.width() - 2, m_middle.height()};
}

QRect FormLayout::arrowRect() const {
    return {0, (m_divider.height() - kArrowZone) / 2, kDivider, kArrowZone};
}

FormLayout::HeaderPlaces FormLayout::headerPlaces(int panelWidth) {
    HeaderPlaces h{};
    h.refresh = panelWidth - 80;
    h.sgBtnSet = h.refresh - kActionWidth - 10;
    h.sgBtnChart = h.sgBtnSet - kActionWidth - 20;
    h.RzPanel14 = h.sgBtnChart - kStyleGroupWidth - 20;
    h.aySYMTypeBT = h.refresh - kWideActionWidth - 20;
    h.artVideoBtn = kGroupLeft + kAnalysisGroupWidth + 20;
    return h;
}

} // namespace kovan
