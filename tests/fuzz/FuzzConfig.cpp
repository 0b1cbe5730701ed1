// libFuzzer target: arbitrary bytes as config.dat. Whatever was read, saving it and reading it
// back is stable after the first save (the client never keeps changing a file it rewrites),
// and a value set is the value read, whatever case the name is asked in.
#include "core/ConfigFile.h"
#include "core/NameValueList.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kovan;
    const QStringList lines =
        configfile::decodeLines(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    const QStringList saved = configfile::decodeLines(configfile::encodeLines(lines));
    if (configfile::decodeLines(configfile::encodeLines(saved)) != saved)
        std::abort();
    NameValueList settings;
    settings.setLines(lines);
    settings.setValue(u"localalert", QStringLiteral("1"));
    if (settings.value(u"LOCALALERT") != QStringLiteral("1"))
        std::abort();
    return 0;
}
