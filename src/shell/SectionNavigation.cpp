#include "shell/SectionNavigation.h"

#include "core/ContentSections.h"

namespace kovan {

const QStringList& SectionNavigation::keys() {
    static const QStringList k = [] {
        QStringList out;
        for (const ContentSectionInfo* s : contentSectionsInNavOrder())
            out.append(s->navKeyText());
        return out;
    }();
    return k;
}

int SectionNavigation::tag(const QString& key) const {
    const int i = indexOf(key);
    return i < 0 ? 0 : m_tags[i];
}

bool SectionNavigation::click(const QString& key) {
    const int i = indexOf(key);
    if (i < 0)
        return false;
    for (int k = 0; k < int(m_tags.size()); ++k)
        m_tags[k] = k == i ? 2 : 0;
    return m_current != key;
}

bool SectionNavigation::enter(const QString& key) {
    const int i = indexOf(key);
    if (i < 0 || m_tags[i] != 0)
        return false;
    m_tags[i] = 1;
    return true;
}

bool SectionNavigation::leave(const QString& key) {
    const int i = indexOf(key);
    if (i < 0 || m_tags[i] != 1)
        return false;
    m_tags[i] = 0;
    return true;
}

bool SectionNavigation::switchTo(const QString& key) {
    if (indexOf(key) < 0)
        return false;
    m_current = key;
    return true;
}

} // namespace kovan
