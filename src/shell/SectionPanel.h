#pragma once

#include "shell/SkinPanel.h"

#include <QHash>
#include <QList>

namespace kovan {

class FilterGroup;

// One section of the middle column (sgMPae, dtMPae, ayMPae, plMPae): a 39 px header bar
// (<key>TopPae) with its filter group, refresh button and section buttons, and below it the
// section's web view. The panel only builds and places its controls; TMainForm connects their
// clicks and gives them their painting. GUI thread only.
class SectionPanel : public SkinPanel {
    Q_OBJECT
public:
    SectionPanel(const QString& key, QWidget* parent = nullptr);

    const QString& key() const { return m_key; }
    SkinPanel* header() const { return m_header; }

    // Puts the section's web view below the header, filling the rest of the panel.
    void setView(QWidget* view);
    QWidget* view() const { return m_view; }

    // Adds a button group at (left, 8) of the header: one 60 × 25 button per caption, named
    // from `buttonNames`, docked left; each button's tag is its position (1 = leftmost).
    SkinPanel* addGroup(const QString& name, const QStringList& captions,
                        const QStringList& buttonNames, int left, int width);
    // Adds a header button (tag 100, 25 px high, at top 8).
    SkinPanel* addButton(const QString& name, const QString& caption, int width);

    // Any control of the header by name (buttons and groups), nullptr when none.
    SkinPanel* control(const QString& name) const { return m_controls.value(name); }
    QList<SkinPanel*> groupButtons(const QString& groupName) const {
        return m_groupButtons.value(groupName);
    }

    // Header bar and view to the panel's present size, then layout rule steps 10–12 for the
    // header buttons. Called by the window's layout (also while the panel is hidden).
    void layoutContents();

private:
    QString m_key;
    SkinPanel* m_header = nullptr;
    QWidget* m_view = nullptr;
    QHash<QString, SkinPanel*> m_controls;
    QHash<QString, QList<SkinPanel*>> m_groupButtons;
};

} // namespace kovan
