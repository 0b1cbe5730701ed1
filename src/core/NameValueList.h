#pragma once

#include <QString>
#include <QStringList>

namespace kovan {

// An ordered list of text lines where a line "name=value" defines the key "name".
// This is the behaviour of config.dat and of the quote table:
//  - a lookup finds the first line whose name equals the key, ignoring letter case;
//  - setting a non-empty value replaces that line or appends one at the end;
//  - setting the empty text deletes that line, so a key never holds an empty value;
//  - lines without "=" stay in place but define no key; line order never changes.
// Not thread-safe: the owner guards it (see ProgramState).
class NameValueList {
public:
    NameValueList() = default;
    explicit NameValueList(QStringList lines) : m_lines(std::move(lines)) {}

    QString value(QStringView key) const;
    void setValue(QStringView key, const QString& value);
    bool contains(QStringView key) const { return indexOf(key) >= 0; }
    // The line a look-up of `key` uses, or −1.
    qsizetype indexOf(QStringView key) const;

    const QStringList& lines() const { return m_lines; }
    void setLines(QStringList lines) { m_lines = std::move(lines); }
    void clear() { m_lines.clear(); }
    qsizetype size() const { return m_lines.size(); }
    bool isEmpty() const { return m_lines.isEmpty(); }

    bool operator==(const NameValueList&) const = default;

private:
    QStringList m_lines;
};

} // namespace kovan
