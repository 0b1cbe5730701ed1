// libFuzzer target: arbitrary bytes as the companion's session block. A session the client
// takes always gives addresses of the expected shape and a script literal without line ends.
#include "core/Escaping.h"
#include "core/SharedBlock.h"

#include <QUrl>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kovan;
    const QString text =
        sessionBlockText(reinterpret_cast<const char16_t*>(data), size / sizeof(char16_t));
    if (size_t(text.size()) > kMaxSessionTextUnits)
        std::abort();
    const PublishedSession s = parsePublishedSession(text);
    if (!s.usable)
        return 0;
    const QUrl url(QStringLiteral("http://h:88/tools/signlist/") + urlPathSegment(s.sessid) + u'/');
    if (!url.isValid() || url.hasQuery() || url.hasFragment() ||
        url.path(QUrl::FullyEncoded).count(u'/') != 4)
        std::abort();
    const QString literal = jsStringLiteral(s.sessid);
    for (const QChar c : literal) {
        if (c.unicode() < 0x20 || c.unicode() == 0x2028 || c.unicode() == 0x2029)
            std::abort();
    }
    return 0;
}
