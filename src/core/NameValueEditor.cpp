#include "core/NameValueEditor.h"

#include <utility>

namespace kovan {

namespace {

QString makeLine(QStringView key, QStringView value) {
    QString line;
    line.reserve(key.size() + 1 + value.size());
    line.append(key).append(u'=').append(value);
    return line;
}

} // namespace

NameValueEditor::NameValueEditor(NameValueList& list)
    : m_list(list), m_lines(list.lines()), m_deleted(size_t(m_lines.size()), false) {
    m_list.clear(); // leaves m_lines the only owner: edits below do not copy the list
    m_index.rebuild(m_lines);
}

NameValueEditor::~NameValueEditor() {
    if (m_deletedCount == 0) {
        m_list.setLines(std::move(m_lines));
        return;
    }
    QStringList kept;
    kept.reserve(m_lines.size() - m_deletedCount);
    for (qsizetype i = 0; i < m_lines.size(); ++i)
        if (!m_deleted[size_t(i)])
            kept.append(std::move(m_lines[i]));
    m_list.setLines(std::move(kept));
}

QStringView NameValueEditor::value(QStringView key) const {
    const qsizetype at = m_index.find(key);
    return at < 0 ? QStringView() : NameIndex::valueOf(m_lines[at]);
}

void NameValueEditor::setValue(QStringView key, QStringView value) {
    const qsizetype at = m_index.find(key);
    if (value.isEmpty()) {
        if (at >= 0) {
            // The line stays in place (its characters hold the index's view of the name)
            // and is left out when the lines go back.
            m_index.removeFirst(key);
            m_deleted[size_t(at)] = true;
            ++m_deletedCount;
        }
        return;
    }
    if (at >= 0) {
        // Read through a view: a non-const QString access would detach a line shared with a
        // copy of the list, and leave the index naming it through freed characters.
        const QStringView line = std::as_const(m_lines)[at];
        // Same spelling of the name and same value: the line would come out identical.
        if (line.size() == key.size() + 1 + value.size() && line.startsWith(key) &&
            line[key.size()] == u'=' && line.endsWith(value))
            return;
        QString& slot = m_lines[at];        // detaches the list only, never a line's characters
        m_replaced.append(std::move(slot)); // the index may name the line through it
        slot = makeLine(key, value);
        return;
    }
    // A key holding "=" matches no line, so it is appended; the new line is named by the
    // part of the key before its first "=", and later look-ups of that name find it.
    m_lines.append(makeLine(key, value));
    m_deleted.push_back(false);
    const qsizetype added = m_lines.size() - 1;
    m_index.append(NameIndex::nameOf(std::as_const(m_lines)[added]), added);
}

} // namespace kovan
