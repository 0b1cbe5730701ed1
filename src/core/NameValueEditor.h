#pragma once

#include "core/NameIndex.h"
#include "core/NameValueList.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

namespace kovan {

// A batch of edits of a NameValueList with hashed look-ups. value() and setValue() give
// exactly what NameValueList's own would (first line of a name, letter case ignored; an empty
// value deletes; a new key appends), but n edits of a list of m lines cost O(n + m) instead of
// O(n · m): the sync worker rewrites quote tables of thousands of lines this way.
//
// The editor takes the lines out of the list when it is made and puts them back, in order and
// without the deleted ones, when it goes; the list must not be used meanwhile.
//
//     {
//         NameValueEditor quotes(table);
//         quotes.setValue(u"XAU_BID", u"1200.5");
//     } // table holds the result here
//
// Not thread-safe: it runs under whatever guards the list.
class NameValueEditor {
public:
    explicit NameValueEditor(NameValueList& list);
    ~NameValueEditor();
    NameValueEditor(const NameValueEditor&) = delete;
    NameValueEditor& operator=(const NameValueEditor&) = delete;

    // The value of `key`, or an empty view. Valid until the next setValue().
    QStringView value(QStringView key) const;
    // As NameValueList::setValue.
    void setValue(QStringView key, QStringView value);

private:
    NameValueList& m_list;
    QStringList m_lines;         // deleted lines stay here, flagged, until the end
    std::vector<bool> m_deleted; // per line of m_lines
    qsizetype m_deletedCount = 0;
    QStringList m_replaced; // lines replaced in place: index names may point into them
    NameIndex m_index;      // names are views into m_lines and m_replaced
};

} // namespace kovan
