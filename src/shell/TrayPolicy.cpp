#include "shell/TrayPolicy.h"

namespace kovan {

TrayPolicy::Outcome TrayPolicy::trayChanged(bool available, Facts facts) {
    const bool went = m_tray && !available;
    m_tray = available;
    // A window hidden in a tray that is gone would be out of reach: back to the task bar.
    if (went && facts.windowHidden)
        return {Window::Minimise, FloatBar::Unchanged};
    return {};
}

TrayPolicy::Outcome TrayPolicy::minimiseRequested(Facts facts) const {
    return {outOfTheWay(), facts.hasSession ? FloatBar::ShowToFront : FloatBar::Unchanged};
}

TrayPolicy::Outcome TrayPolicy::closePictureClicked(Facts) const {
    return {outOfTheWay(), FloatBar::ShowOnce};
}

TrayPolicy::Outcome TrayPolicy::floatBarClosed(Facts facts) const {
    if (facts.windowHidden && !m_tray)
        return {Window::Minimise, FloatBar::Unchanged};
    return {};
}

TrayPolicy::Outcome TrayPolicy::started(bool atLogin, Facts facts) const {
    if (!atLogin)
        return {Window::Show, FloatBar::Unchanged};
    return minimiseRequested(facts);
}

} // namespace kovan
