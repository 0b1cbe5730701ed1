#include "chart/ChartModule.h"

namespace kovan {

ChartModule::ChartModule() = default;

ChartModule::~ChartModule() = default;

void ChartModule::registerCommands(CommandRegistry&) {}

void ChartModule::addSteps(Lifecycle&) {}

void ChartModule::openChart() {}

} // namespace kovan
