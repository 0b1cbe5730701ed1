// libFuzzer target: arbitrary bytes as a sync reply; the tables must stay consistent.
#include "SyncConsistency.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string error =
        kovan::test::checkInput(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!error.empty()) {
        std::fprintf(stderr, "sync tables inconsistent: %s\n", error.c_str());
        std::abort();
    }
    return 0;
}
