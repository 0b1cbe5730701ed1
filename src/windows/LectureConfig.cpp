#include "windows/LectureConfig.h"

#include "core/Utils.h"

namespace kovan {

QString LectureConfig::roomTitle() const {
    return name + QStringLiteral(" 在线投资讲座");
}

LectureConfig LectureConfig::fromSettings(const NameValueList& settings, const QString& pageRoot) {
    LectureConfig c;
    const QString room = settings.value(u"LectureRoom");
    if (room.compare(u"none", Qt::CaseInsensitive) == 0)
        return c; // no lecture to advertise
    c.roomUrl = room.isEmpty() ? pageRoot + QStringLiteral("/tools/lecture/") : room;
    c.name = settings.value(u"LectureName");
    if (c.name.isEmpty())
        c.name = QStringLiteral("朗鸥学院");
    const QString lines = settings.value(u"LectureLines");
    if (!lines.isEmpty()) {
        c.lines = splitStr(lines, QStringLiteral("###"));
    } else {
        c.lines = {QStringLiteral("朗鸥策略赞助"), c.name, QStringLiteral("网络直播投资讲座"),
                   QStringLiteral("火热进行中")};
    }
    return c;
}

} // namespace kovan
