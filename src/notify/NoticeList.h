#pragma once

#include <QList>
#include <QString>

namespace kovan {

// One notice raised by a page through tipwindow. The fields keep at most the lengths the
// record has always had (in UTF-16 units, without the terminating zero the old fixed fields
// carried); longer texts are cut on the way in.
struct rbMsgRecord {
    static constexpr qsizetype kTitleUnits = 255;
    static constexpr qsizetype kContentUnits = 4095;
    static constexpr qsizetype kViewActUnits = 31;
    static constexpr qsizetype kViTitleUnits = 255;
    static constexpr qsizetype kViParamUnits = 255;

    QString title;
    QString content;
    QString viewAct; // "viewinfo", "openurl", "video", "exchat", anything else
    QString vititle;
    QString viparam;
    qint32 staytitle = 0;

    // A record whose texts are cut to their fields.
    static rbMsgRecord make(const QString& title, const QString& content, const QString& viewAct,
                            const QString& vititle, const QString& viparam, qint32 staytitle);

    bool operator==(const rbMsgRecord&) const = default;
};

// `text` as a zero-terminated field of `maxUnits` units holds it: up to the first U+0000, at most
// `maxUnits` units, and never ending in the first half of a surrogate pair (a character cut in
// two would show as garbage).
QString cutField(const QString& text, qsizetype maxUnits);

// The notices of the run in arrival order; never pruned. GUI thread only.
class NoticeList {
public:
    // Appends and answers the new notice's index.
    int append(rbMsgRecord notice);
    int size() const { return int(m_notices.size()); }
    bool isEmpty() const { return m_notices.isEmpty(); }
    // Index within 0 … size() − 1.
    const rbMsgRecord& at(int index) const { return m_notices.at(index); }
    bool contains(int index) const { return index >= 0 && index < size(); }

private:
    QList<rbMsgRecord> m_notices;
};

} // namespace kovan
