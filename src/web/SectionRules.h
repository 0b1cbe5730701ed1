#pragma once

#include "core/ContentSections.h"

#include <QList>
#include <QString>
#include <QStringView>

namespace kovan {

// The five section pages (the four content sections and the right-hand column) and the rules
// that decide what a view shows and how it reloads. Plain values and pure functions; any
// thread.
namespace sections {

struct Section {
    const char* key;      // "sign", "arts", "plan", "mkte", "rpae"
    const char* viewName; // "sgWeb", ...
    const char* path;     // "/tools/signlist/", ...
    int initialTag;       // the view's Tag before any document completed
    // The content section, or nullptr for the right-hand column (no stamp, never refreshed
    // by the sync loop).
    const ContentSectionInfo* content;
};

// In reload order: the content sections in their order (sign, arts, plan, mkte), then rpae.
const QList<Section>& table();
// nullptr for an unknown key.
const Section* find(QStringView key);

// Tag of a view whose last completed document is an application page.
inline constexpr int kApplicationPage = 2;
// The text an application page carries (exact, case-sensitive).
inline constexpr char kMarker[] = "QZEARVersion";

// root + path + sessid + "/": the first load at start-up. The session id always goes in as one
// percent-encoded path segment (urlPathSegment), here and in every address below.
QString startAddress(const QString& root, const Section& s, const QString& sessid);
// root + path + sessid + "/?rand=" + seconds ("/?" + seconds for "rpae").
QString reloadAddress(const QString& root, const Section& s, const QString& sessid,
                      qint64 localSeconds);
// Local wall-clock seconds since 1970-01-01 00:00 (the clock reading taken as if it were UTC).
qint64 localSecondsNow();

// The rows forceReload(types) acts on: all five for "all", the one row of a key, none for
// anything else.
QList<const Section*> rowsFor(QStringView types);

// What a completed document makes of the view's Tag: 2 with the marker, else 1.
int tagForDocument(QStringView outerHtml);

// The document that replaces a page without the marker.
QString tileDocument(const QString& tileUrl);

// "reloadCheck(<sessid as a JavaScript string literal>)": whatever the id holds stays one
// string argument.
QString reloadCheckScript(const QString& sessid);
inline constexpr char kReloadCheckZero[] = "reloadCheck(0)";

// "/tools/" + params under the root: the content pane's address for showoptPage.
QString contentAddress(const QString& root, const QString& params);

} // namespace sections
} // namespace kovan
