#include "notify/NoticeList.h"

namespace kovan {

QString cutField(const QString& text, qsizetype maxUnits) {
    qsizetype n = text.indexOf(QChar(u'\0'));
    if (n < 0)
        n = text.size();
    if (n > maxUnits) {
        n = maxUnits;
        if (n > 0 && text.at(n - 1).isHighSurrogate() && text.at(n).isLowSurrogate())
            --n;
    }
    return n == text.size() ? text : text.left(n);
}

rbMsgRecord rbMsgRecord::make(const QString& title, const QString& content, const QString& viewAct,
                              const QString& vititle, const QString& viparam, qint32 staytitle) {
    rbMsgRecord r;
    r.title = cutField(title, kTitleUnits);
    r.content = cutField(content, kContentUnits);
    r.viewAct = cutField(viewAct, kViewActUnits);
    r.vititle = cutField(vititle, kViTitleUnits);
    r.viparam = cutField(viparam, kViParamUnits);
    r.staytitle = staytitle;
    return r;
}

int NoticeList::append(rbMsgRecord notice) {
    m_notices.append(std::move(notice));
    return int(m_notices.size()) - 1;
}

} // namespace kovan
