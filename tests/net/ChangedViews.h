#pragma once

#include "core/ContentSections.h"

#include <QStringList>

namespace kovan::test {

// For the sync tests' stand-ins of the section pages: the views of the sections a reply
// changed, in the order checkRefresh visits them.
inline QStringList changedSectionViews(ContentSectionSet changed) {
    QStringList views;
    for (const ContentSectionInfo& s : contentSections())
        if (changed.contains(s.id))
            views.append(s.viewNameText());
    return views;
}

} // namespace kovan::test
