#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

namespace kovan {

// A hash index over the names of "name=value" lines that finds, for a key, the line
// NameValueList would find: the first line whose name equals the key when letter case is
// ignored (each code point case-folded, as QStringView::compare with Qt::CaseInsensitive does).
// Lines without "=" define no name.
//
// Building is linear in the number of lines, a look-up is constant on average. The index keeps
// views of the names, not copies: the owner keeps every indexed line's characters alive and
// unchanged while the index is in use (moving a QString elsewhere keeps them; assigning to it
// does not).
//
// Lines sharing a name form a chain in line order, so that removing the first one of a name
// leaves the next one found, as deleting a line from a NameValueList does.
//
// Not thread-safe: one owner.
class NameIndex {
public:
    NameIndex() = default;
    explicit NameIndex(const QStringList& lines) { rebuild(lines); }

    // Indexes `lines` afresh (line i under its name, the first line of a name first).
    void rebuild(const QStringList& lines);

    // The line NameValueList would find for `key`, or −1.
    qsizetype find(QStringView key) const;

    // Records that line `line`, named `name`, follows every line indexed so far.
    void append(QStringView name, qsizetype line);

    // Records that the line find(`name`) gives has gone; the next line of that name, if any,
    // is found from now on. Line numbers of the other lines stay as they are.
    void removeFirst(QStringView name);

    // The name of a line (up to its first "="), or a null view when it has no "=".
    static QStringView nameOf(QStringView line);
    // Everything after the first "=" of a line that has a name.
    static QStringView valueOf(QStringView line) { return line.mid(nameOf(line).size() + 1); }

    // The hash of a name under the index's case folding: names that compare equal ignoring
    // case hash equally.
    static size_t foldedHash(QStringView name) noexcept;

private:
    struct Slot {
        QStringView name; // as spelt by the line that made the slot
        size_t hash = 0;
        qsizetype first = -1; // −1: every line of the name has been removed
        qsizetype last = -1;
        bool used = false;
    };

    Slot* slotFor(QStringView name, size_t hash);
    const Slot* slotFor(QStringView name, size_t hash) const;
    void grow();

    std::vector<Slot> m_slots;     // open addressing, linear probing; size a power of two
    std::vector<qsizetype> m_next; // per line: the next line of the same name, or −1
    size_t m_used = 0;
};

} // namespace kovan
