#pragma once

#include "core/ContentSections.h"
#include "shell/FilterGroup.h"
#include "shell/MainFormState.h"
#include "shell/SectionNavigation.h"

#include <QHash>
#include <QList>
#include <QObject>

#include <array>

class QMenu;
class QWidget;

namespace kovan {

struct PageHooks;
class SectionPanel;
class SkinPanel;

// The navigation and the section panels of the main window: the four navigation buttons in
// the navigation bar, the three service buttons, the section panels in the middle column with
// their header buttons, and what every click does. State lives in SectionNavigation and
// FilterGroup; this class binds it to the panels and the page hooks. GUI thread only.
class SectionArea : public QObject {
    Q_OBJECT
public:
    // `navBar`: RzPanel5; `serviceBar`: RzPanel6; `middle`: bgMPae; `contentPane`: ConBgPae.
    // `hooks` and `state` belong to the main window and are read at each use.
    SectionArea(QWidget* navBar, QWidget* serviceBar, QWidget* middle, QWidget* contentPane,
                const PageHooks& hooks, const MainFormState& state, QObject* parent = nullptr);

    SectionPanel* panel(const QString& key) const { return m_panels.value(key); }
    QList<SectionPanel*> panels() const;
    SectionPanel* currentSectionPanel() const { return panel(m_nav.current()); }
    const SectionNavigation& navigation() const { return m_nav; }
    const FilterGroup* group(const QString& name) const;
    SkinPanel* navButton(const QString& key) const { return m_navButtons.value(key); }
    SkinPanel* serviceButton(const QString& name) const { return m_serviceButtons.value(name); }
    QMenu* artsymmenu() const { return m_artsymmenu; }

    // Places the section views, indexed by ContentSection (any may be null).
    void setViews(const std::array<QWidget*, kContentSectionCount>& views);

    // Shows the signal section (start-up).
    void showFirstSection();
    // Layout rule steps 7, 10–12: every section panel fills the middle column.
    void layoutPanels();

    // Handlers.
    void navbtClick(const QString& key);
    void navEnter(const QString& key);
    void navLeave(const QString& key);
    // Page command and floating-bar entry: shows the section panel of `key`. Throws
    // InvalidAccessError for a key without a panel. Answers "1".
    QString switchPae(const QString& key);
    void filterClick(const QString& groupName, int buttonTag);
    void RzPanel18Click(int buttonTag); // signal list style: "平铺" (1) or "列表" (2)
    void artVideoBtnClick();
    void refreshClick(const QString& key);
    // An item of the instrument menu (artsymmenu) chosen: articles of that instrument.
    void ASML_XAGRMBClick(const QString& itemName, const QString& caption);
    // Service pages: "MySETBTPae", "RzPanel9", "MyHotBtPae" (also topUNLab, tray), "sgBtnSet".
    void openServicePage(const QString& button);

private:
    void buildNavButtons(QWidget* navBar);
    void buildServiceButtons(QWidget* serviceBar);
    void buildPanels(QWidget* middle);
    void buildGroup(SectionPanel* panel, const QString& groupName, const QStringList& names,
                    int left, int width);
    void repaintGroup(const QString& groupName);
    void runScript(const QString& view, const QString& script);
    void hideContentPane();
    FilterGroup* groupByName(const QString& name);

    const PageHooks& m_hooks;
    const MainFormState& m_state;
    QWidget* m_contentPane;
    SectionNavigation m_nav;
    QList<FilterGroup> m_groups;
    QHash<QString, SectionPanel*> m_panels;
    QHash<QString, SkinPanel*> m_navButtons;
    QHash<QString, SkinPanel*> m_serviceButtons;
    QMenu* m_artsymmenu = nullptr;
};

} // namespace kovan
