#pragma once

#include "core/ContentSections.h"

#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

#include <optional>

namespace kovan {

// A group of filter buttons in a section's header bar (or the signal section's style group).
// Each button's tag is its position (1 = leftmost); the group's tag is the selected button's.
// Clicks yield the page script to run; painting yields the slices to draw. Plain state, GUI
// thread.
class FilterGroup {
public:
    FilterGroup(QString name, QString view, QString function, QStringList captions);

    const QString& name() const { return m_name; }         // e.g. "sgBtnGrp"
    const QString& view() const { return m_view; }         // web view the scripts go to
    const QString& function() const { return m_function; } // page function, e.g. "showPostype"
    const QStringList& captions() const { return m_captions; }
    int count() const { return int(m_captions.size()); }
    int tag() const { return m_tag; }

    // Filter click on the button with `buttonTag`: tags of 10 and above do nothing (nullopt);
    // otherwise the group selects the button and the script "<function>(<tag>)" is returned.
    std::optional<QString> click(int buttonTag);

    // Style click: the group selects the button in every case; the script "setStyle(<tag>)" is
    // returned only when the page body contains "setStyle".
    std::optional<QString> styleClick(int buttonTag, const QString& pageBody);
    // The script part of a style click alone: "setStyle(<tag>)" when the body contains
    // "setStyle", else nullopt.
    static std::optional<QString> styleScript(int buttonTag, const QString& pageBody);

    // One image stretched into a rectangle (button coordinates).
    struct Slice {
        int image; // index into ibtnImages
        QRect rect;
        bool operator==(const Slice&) const = default;
    };
    // iBTNPaint: the slices of button `t` in a group of `n` whose selected tag is `s`, for a
    // button of `width` × `height`.
    static QList<Slice> slices(int t, int s, int n, int width, int height);
    // plBtnRhtPaint: a single button, always in the selected look.
    static QList<Slice> singleSlices(int width, int height);

    // The four section filter groups in navigation order and the style group of the signal
    // section ("RzPanel14"), as at start.
    static QList<FilterGroup> sectionGroups();
    // The filter group of a section's header: "sgBtnGrp", ...
    static QString groupName(const ContentSectionInfo& section) {
        return section.navKeyText() + QStringLiteral("BtnGrp");
    }

private:
    QString m_name;
    QString m_view;
    QString m_function;
    QStringList m_captions;
    int m_tag = 1;
};

} // namespace kovan
