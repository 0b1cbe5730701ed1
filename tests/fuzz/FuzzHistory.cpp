// libFuzzer target: arbitrary bytes as a history file. Every bar kept passes the load filter,
// and saving what was loaded, then loading it again, gives the same bars.
#include "chart/HistoryFile.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kovan;
    ChartDataList bars;
    parseHistoryBytes(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), bars);
    for (const ChartDataListRecord& r : bars) {
        if (!(r.dl > 0 && r.open > 0 && r.close > 0))
            std::abort();
    }
    ChartDataList again;
    parseHistoryBytes(historyBytes(bars), again);
    if (again.size() != bars.size() ||
        (!bars.empty() &&
         std::memcmp(again.data(), bars.data(), bars.size() * sizeof(ChartDataListRecord)) != 0))
        std::abort();
    return 0;
}
