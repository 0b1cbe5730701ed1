#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <cstdint>

namespace kovan {

// The four content sections of the main window: trading signals, articles, plans and market
// events. Every place that needs to know them (the sync reply's stamps, the section pages and
// their reload rules, the navigation, the section panels, their filter groups, the refresh
// buttons) reads this one table. Plain constants; any thread.
//
// The order of the enumeration is the order the sync reply's stamps are compared in and the
// order changed pages are told to refresh: signals, articles, plans, events.
enum class ContentSection : std::uint8_t { Signals, Articles, Plans, Events };
inline constexpr int kContentSectionCount = 4;

struct ContentSectionInfo {
    ContentSection id;
    const char* pageKey;    // "sign": the section page's key (forceReload's types, view look-up)
    const char* navKey;     // "sg": navigation button, section panel, switchPae, refresh button
    const char* viewName;   // "sgWeb": the web view's control name
    const char* pagePath;   // "/tools/signlist/": page-server path, followed by the session id
    const char* stampName;  // "LUDsign": the sync reply's stamp of the section's content
    const char* changeFlag; // "signCHG": 1 in the sync state when the latest reply moved it
    const char* caption;    // "信号" (UTF-8): the navigation button's caption
    int navIndex;           // the navigation button's place, 0 = leftmost
    // The refresh button navigates to pagePath + sessid + this ("/" for plans only).
    const char* refreshSuffix;
    // The view's Tag before any document completed: 1 for the page shown at start.
    int initialViewTag;
    // The header's filter group: the page function its clicks call and its button captions
    // (UTF-8, empty entries unused).
    const char* filterFunction;
    std::array<const char*, 4> filterCaptions;

    QString pageKeyText() const { return QString::fromLatin1(pageKey); }
    QString navKeyText() const { return QString::fromLatin1(navKey); }
    QString viewNameText() const { return QString::fromLatin1(viewName); }
    QStringList filterCaptionTexts() const;
};

// In enumeration order.
const std::array<ContentSectionInfo, kContentSectionCount>& contentSections();
const ContentSectionInfo& contentSection(ContentSection id);
// In navigation order (signals, events, articles, plans).
const std::array<const ContentSectionInfo*, kContentSectionCount>& contentSectionsInNavOrder();
// nullptr for a text that names no section.
const ContentSectionInfo* contentSectionByPageKey(QStringView pageKey);
const ContentSectionInfo* contentSectionByNavKey(QStringView navKey);

// A set of content sections: which ones a sync reply changed.
class ContentSectionSet {
public:
    constexpr ContentSectionSet() = default;
    constexpr ContentSectionSet(std::initializer_list<ContentSection> ids) {
        for (ContentSection id : ids)
            insert(id);
    }
    constexpr void insert(ContentSection id) { m_bits |= bit(id); }
    constexpr bool contains(ContentSection id) const { return (m_bits & bit(id)) != 0; }
    constexpr bool isEmpty() const { return m_bits == 0; }
    constexpr bool operator==(const ContentSectionSet&) const = default;

private:
    static constexpr std::uint8_t bit(ContentSection id) { return std::uint8_t(1u << int(id)); }
    std::uint8_t m_bits = 0;
};

} // namespace kovan
