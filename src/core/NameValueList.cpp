#include "core/NameValueList.h"

namespace kovan {

qsizetype NameValueList::indexOf(QStringView key) const {
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const QString& line = m_lines[i];
        const qsizetype eq = line.indexOf(u'=');
        if (eq >= 0 && QStringView(line).left(eq).compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString NameValueList::value(QStringView key) const {
    const qsizetype i = indexOf(key);
    if (i < 0)
        return {};
    const QString& line = m_lines[i];
    return line.mid(line.indexOf(u'=') + 1);
}

void NameValueList::setValue(QStringView key, const QString& value) {
    const qsizetype i = indexOf(key);
    if (value.isEmpty()) {
        if (i >= 0)
            m_lines.removeAt(i);
        return;
    }
    QString line = key.toString() + u'=' + value;
    if (i >= 0)
        m_lines[i] = std::move(line);
    else
        m_lines.append(std::move(line));
}

} // namespace kovan
