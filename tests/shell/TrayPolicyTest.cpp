// The tray rules: what the window does on a minimise, a close, the close picture, the floating
// bar closing, a tray that comes or goes, and at start, with a tray and without.

#include "shell/TrayPolicy.h"

#include <gtest/gtest.h>

#include <functional>

namespace kovan {
namespace {

using Window = TrayPolicy::Window;
using Bar = TrayPolicy::FloatBar;
using Facts = TrayPolicy::Facts;

constexpr Facts kShown{.windowHidden = false, .hasSession = true};
constexpr Facts kShownNoSession{.windowHidden = false, .hasSession = false};
constexpr Facts kHidden{.windowHidden = true, .hasSession = true};

struct Case {
    const char* name;
    bool tray; // whether a tray exists when the input comes
    std::function<TrayPolicy::Outcome(TrayPolicy&)> input;
    TrayPolicy::Outcome expected;
};

std::ostream& operator<<(std::ostream& os, const Case& c) {
    return os << c.name;
}

class TrayPolicyCases : public ::testing::TestWithParam<Case> {};

TEST_P(TrayPolicyCases, Decides) {
    const Case& c = GetParam();
    TrayPolicy policy;
    if (c.tray)
        policy.trayChanged(true, kShown);
    const TrayPolicy::Outcome got = c.input(policy);
    EXPECT_EQ(static_cast<int>(got.window), static_cast<int>(c.expected.window)) << c.name;
    EXPECT_EQ(static_cast<int>(got.floatBar), static_cast<int>(c.expected.floatBar)) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, TrayPolicyCases,
    ::testing::Values(
        Case{"MinimiseWithTray",
             true,
             [](auto& p) { return p.minimiseRequested(kShown); },
             {Window::HideToTray, Bar::ShowToFront}},
        Case{"MinimiseWithTrayNoSession",
             true,
             [](auto& p) { return p.minimiseRequested(kShownNoSession); },
             {Window::HideToTray, Bar::Unchanged}},
        Case{"MinimiseWithoutTray",
             false,
             [](auto& p) { return p.minimiseRequested(kShown); },
             {Window::Minimise, Bar::ShowToFront}},
        Case{"MinimiseWithoutTrayNoSession",
             false,
             [](auto& p) { return p.minimiseRequested(kShownNoSession); },
             {Window::Minimise, Bar::Unchanged}},
        Case{"ClosePictureWithTray",
             true,
             [](auto& p) { return p.closePictureClicked(kShown); },
             {Window::HideToTray, Bar::ShowOnce}},
        Case{"ClosePictureWithoutTray",
             false,
             [](auto& p) { return p.closePictureClicked(kShownNoSession); },
             {Window::Minimise, Bar::ShowOnce}},
        Case{"BarClosedWhileHiddenInTray",
             true,
             [](auto& p) { return p.floatBarClosed(kHidden); },
             {}},
        Case{"BarClosedWhileHiddenNoTray",
             false,
             [](auto& p) { return p.floatBarClosed(kHidden); },
             {Window::Minimise, Bar::Unchanged}},
        Case{"BarClosedWhileShownNoTray",
             false,
             [](auto& p) { return p.floatBarClosed(kShown); },
             {}},
        Case{"TrayGoneWhileHidden",
             true,
             [](auto& p) { return p.trayChanged(false, kHidden); },
             {Window::Minimise, Bar::Unchanged}},
        Case{"TrayGoneWhileShown", true, [](auto& p) { return p.trayChanged(false, kShown); }, {}},
        Case{"NoTrayStillNone", false, [](auto& p) { return p.trayChanged(false, kHidden); }, {}},
        Case{
            "TrayCameWhileHidden", false, [](auto& p) { return p.trayChanged(true, kHidden); }, {}},
        Case{"PlainStartWithTray",
             true,
             [](auto& p) { return p.started(false, kHidden); },
             {Window::Show, Bar::Unchanged}},
        Case{"PlainStartWithoutTray",
             false,
             [](auto& p) { return p.started(false, kHidden); },
             {Window::Show, Bar::Unchanged}},
        Case{"LoginStartWithTray",
             true,
             [](auto& p) { return p.started(true, kHidden); },
             {Window::HideToTray, Bar::ShowToFront}},
        Case{"LoginStartWithoutTray",
             false,
             [](auto& p) { return p.started(true, kHidden); },
             {Window::Minimise, Bar::ShowToFront}}),
    [](const auto& info) { return std::string(info.param.name); });

// The tray over time: never there, there at start, there later, gone again.
TEST(TrayPolicy, FollowsTheTrayOverTime) {
    TrayPolicy policy;
    EXPECT_FALSE(policy.trayAvailable());
    EXPECT_EQ(policy.minimiseRequested(kShown).window, Window::Minimise);
    // A panel that comes up after the client: from then on the window goes into it.
    EXPECT_EQ(policy.trayChanged(true, kShown), TrayPolicy::Outcome{});
    EXPECT_TRUE(policy.trayAvailable());
    EXPECT_EQ(policy.minimiseRequested(kShown).window, Window::HideToTray);
    // The panel ends while the window is in it: back, minimised; then minimise means the task
    // bar again.
    EXPECT_EQ(policy.trayChanged(false, kHidden).window, Window::Minimise);
    EXPECT_FALSE(policy.trayAvailable());
    EXPECT_EQ(policy.minimiseRequested(kShown).window, Window::Minimise);
    // Told twice that it is gone: the window is not moved again.
    EXPECT_EQ(policy.trayChanged(false, kHidden), TrayPolicy::Outcome{});
}

} // namespace
} // namespace kovan
