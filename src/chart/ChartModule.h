#pragma once

namespace kovan {

class CommandRegistry;
class Lifecycle;

// The chart windows: each a live chart of one instrument with its panel page, opened by the
// signal section's "图形" button and by page commands.
//
// Offers: openChart, for the "图形" button. GUI thread only.
class ChartModule {
public:
    ChartModule();
    ~ChartModule();
    ChartModule(const ChartModule&) = delete;
    ChartModule& operator=(const ChartModule&) = delete;

    void registerCommands(CommandRegistry& registry);
    void addSteps(Lifecycle& lifecycle);

    // The "图形" button of the signal section.
    void openChart();
};

} // namespace kovan
