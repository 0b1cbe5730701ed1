#pragma once

#include "core/NameValueList.h"

#include <QString>
#include <QStringList>

namespace kovan {

// The sponsored lecture the lecture pop-up advertises, from config.dat:
//   LectureName   provider's name                 (default "朗鸥学院")
//   LectureRoom   address of the live room        (default the page server's "/tools/lecture/")
//   LectureLines  the four label lines, "###"-separated (default: sponsorship, provider,
//                 platform line, "火热进行中")
// LectureRoom set to "none" means no lecture: showyyopen then shows nothing. Pure; any thread.
struct LectureConfig {
    QString name;
    QString roomUrl;
    QStringList lines;

    bool configured() const { return !roomUrl.isEmpty(); }
    // The plain web window's caption for the room: name + " 在线投资讲座".
    QString roomTitle() const;

    static LectureConfig fromSettings(const NameValueList& settings, const QString& pageRoot);
};

} // namespace kovan
