#include "shell/SectionArea.h"

#include "core/ContentSections.h"
#include "core/Errors.h"
#include "core/PageHooks.h"
#include "core/Trace.h"
#include "shell/FormLayout.h"
#include "shell/SectionCommands.h"
#include "shell/SectionPanel.h"
#include "shell/SkinPainters.h"

#include <QMenu>

namespace kovan {

namespace {

// Left edges of the navigation buttons, in navigation order.
constexpr int kNavButtonLefts[kContentSectionCount] = {1, 106, 211, 317};

QString navKey(ContentSection id) {
    return contentSection(id).navKeyText();
}

QString viewName(ContentSection id) {
    return contentSection(id).viewNameText();
}

struct ServiceButtonPlace {
    const char* name;
    int left;
    const char* caption;
};
const ServiceButtonPlace kServiceButtons[] = {
    {"MySETBTPae", 38, "我的关注"}, {"RzPanel9", 119, "服务团队"}, {"MyHotBtPae", 201, "会员中心"}};

// Group name → button names, in tag order.
const QHash<QString, QStringList>& groupButtonNames() {
    static const QHash<QString, QStringList> names{
        {QStringLiteral("sgBtnGrp"),
         {QStringLiteral("RzPanel10"), QStringLiteral("RzPanel12"), QStringLiteral("RzPanel11")}},
        {QStringLiteral("dtBtnGrp"),
         {QStringLiteral("RzPanel15"), QStringLiteral("RzPanel17"), QStringLiteral("RzPanel16")}},
        {QStringLiteral("ayBtnGrp"),
         {QStringLiteral("RzPanel20"), QStringLiteral("RzPanel8"), QStringLiteral("RzPanel22"),
          QStringLiteral("RzPanel21")}},
        {QStringLiteral("plBtnGrp"),
         {QStringLiteral("RzPanel3"), QStringLiteral("RzPanel13"), QStringLiteral("RzPanel7"),
          QStringLiteral("RzPanel4")}},
        {QStringLiteral("RzPanel14"), {QStringLiteral("RzPanel18"), QStringLiteral("RzPanel19")}},
    };
    return names;
}

QFont buttonFont() {
    return SkinPainters::captionFont(12);
}

} // namespace

SectionArea::SectionArea(QWidget* navBar, QWidget* serviceBar, QWidget* middle,
                         QWidget* contentPane, const PageHooks& hooks, const MainFormState& state,
                         QObject* parent)
    : QObject(parent), m_hooks(hooks), m_state(state), m_contentPane(contentPane),
      m_groups(FilterGroup::sectionGroups()) {
    buildNavButtons(navBar);
    buildServiceButtons(serviceBar);
    buildPanels(middle);
    // The signal section shows from the start; start-up shows it again explicitly.
    showFirstSection();
}

QList<SectionPanel*> SectionArea::panels() const {
    QList<SectionPanel*> out;
    for (const QString& key : SectionNavigation::keys())
        out.append(panel(key));
    return out;
}

const FilterGroup* SectionArea::group(const QString& name) const {
    for (const FilterGroup& g : m_groups)
        if (g.name() == name)
            return &g;
    return nullptr;
}

FilterGroup* SectionArea::groupByName(const QString& name) {
    for (FilterGroup& g : m_groups)
        if (g.name() == name)
            return &g;
    return nullptr;
}

void SectionArea::buildNavButtons(QWidget* navBar) {
    const QFont font = SkinPainters::captionFont(14);
    for (const ContentSectionInfo* s : contentSectionsInNavOrder()) {
        const QString key = s->navKeyText();
        auto* b = new SkinPanel(QStringLiteral("navbt_") + key, navBar);
        b->setGeometry(kNavButtonLefts[s->navIndex], 19, 100, 35);
        b->setCaption(QString::fromUtf8(s->caption));
        b->setTag(m_nav.tag(key));
        b->setCursor(Qt::PointingHandCursor);
        b->setPainter(SkinPainters::navButton(font));
        connect(b, &SkinPanel::clicked, this, [this, key] { navbtClick(key); });
        connect(b, &SkinPanel::entered, this, [this, key] { navEnter(key); });
        connect(b, &SkinPanel::left, this, [this, key] { navLeave(key); });
        m_navButtons.insert(key, b);
    }
}

void SectionArea::buildServiceButtons(QWidget* serviceBar) {
    const QFont font = SkinPainters::captionFont(12);
    for (const ServiceButtonPlace& place : kServiceButtons) {
        const QString name = QString::fromLatin1(place.name);
        auto* b = new SkinPanel(name, serviceBar);
        b->setGeometry(place.left, 11, 82, 37);
        b->setCaption(QString::fromUtf8(place.caption));
        b->setCursor(Qt::PointingHandCursor);
        b->setPainter(SkinPainters::serviceButton(font));
        auto setTag = [b](SectionCommands::Mouse m) {
            b->setTag(SectionCommands::serviceTag(m));
            b->update();
        };
        using M = SectionCommands::Mouse;
        connect(b, &SkinPanel::entered, b, [setTag] { setTag(M::Enter); });
        connect(b, &SkinPanel::left, b, [setTag] { setTag(M::Leave); });
        connect(b, &SkinPanel::pressed, b, [setTag](QMouseEvent*) { setTag(M::Down); });
        connect(b, &SkinPanel::released, b, [setTag](QMouseEvent*) { setTag(M::Up); });
        connect(b, &SkinPanel::clicked, this, [this, name] { openServicePage(name); });
        m_serviceButtons.insert(name, b);
    }
}

void SectionArea::buildGroup(SectionPanel* panel, const QString& groupName,
                             const QStringList& names, int left, int width) {
    const FilterGroup* g = group(groupName);
    panel->addGroup(groupName, g->captions(), names, left, width);
    const int count = g->count();
    for (SkinPanel* b : panel->groupButtons(groupName)) {
        b->setPainter(SkinPainters::groupButton(
            [this, groupName] { return group(groupName)->tag(); }, count, buttonFont()));
        const int tag = b->tag();
        if (groupName == QLatin1String("RzPanel14"))
            connect(b, &SkinPanel::clicked, this, [this, tag] { RzPanel18Click(tag); });
        else
            connect(b, &SkinPanel::clicked, this,
                    [this, groupName, tag] { filterClick(groupName, tag); });
    }
}

void SectionArea::buildPanels(QWidget* middle) {
    const QFont font = buttonFont();
    for (const ContentSectionInfo* s : contentSectionsInNavOrder()) {
        const QString key = s->navKeyText();
        auto* p = new SectionPanel(key, middle);
        p->hide();
        m_panels.insert(key, p);
        const QString groupName = FilterGroup::groupName(*s);
        const int groupWidth = group(groupName)->count() * FormLayout::kGroupButtonWidth;
        buildGroup(p, groupName, groupButtonNames().value(groupName), FormLayout::kGroupLeft,
                   groupWidth);
        SkinPanel* refresh = p->addButton(key + QStringLiteral("BtnRht"), QStringLiteral("刷新"),
                                          FormLayout::kActionWidth);
        refresh->setPainter(SkinPainters::singleButton(font));
        connect(refresh, &SkinPanel::clicked, this, [this, key] { refreshClick(key); });
    }

    SectionPanel* sg = panel(navKey(ContentSection::Signals));
    SkinPanel* set =
        sg->addButton(QStringLiteral("sgBtnSet"), QStringLiteral("设置"), FormLayout::kActionWidth);
    set->setPainter(SkinPainters::singleButton(font));
    connect(set, &SkinPanel::clicked, this,
            [this] { openServicePage(QStringLiteral("sgBtnSet")); });
    SkinPanel* chart = sg->addButton(QStringLiteral("sgBtnChart"), QStringLiteral("图形"),
                                     FormLayout::kActionWidth);
    chart->setPainter(SkinPainters::singleButton(font));
    connect(chart, &SkinPanel::clicked, this, [this] {
        if (m_hooks.openChart)
            m_hooks.openChart();
    });
    buildGroup(sg, QStringLiteral("RzPanel14"),
               groupButtonNames().value(QStringLiteral("RzPanel14")), 0,
               FormLayout::kStyleGroupWidth);

    SectionPanel* ay = panel(navKey(ContentSection::Articles));
    SkinPanel* video = ay->addButton(QStringLiteral("artVideoBtn"), QStringLiteral("有声有色"),
                                     FormLayout::kWideActionWidth);
    video->setPainter(SkinPainters::singleButton(font));
    connect(video, &SkinPanel::clicked, this, &SectionArea::artVideoBtnClick);
    SkinPanel* symType = ay->addButton(QStringLiteral("aySYMTypeBT"), QStringLiteral("投资品种"),
                                       FormLayout::kWideActionWidth);
    symType->setPainter(SkinPainters::symbolTypeButton(font));
    // The instrument menu opens on a right click (or the menu key); a left click does nothing.
    m_artsymmenu = new QMenu(symType);
    m_artsymmenu->setObjectName(QStringLiteral("artsymmenu"));
    for (const SectionCommands::Instrument& item : SectionCommands::instruments()) {
        QAction* a = m_artsymmenu->addAction(item.caption);
        a->setObjectName(item.name);
        connect(a, &QAction::triggered, this,
                [this, item] { ASML_XAGRMBClick(item.name, item.caption); });
    }
    connect(symType, &SkinPanel::contextMenuAsked, this,
            [this](const QPoint& at) { m_artsymmenu->popup(at); });
}

void SectionArea::setViews(const std::array<QWidget*, kContentSectionCount>& views) {
    for (const ContentSectionInfo& s : contentSections())
        if (QWidget* v = views[std::size_t(s.id)])
            panel(s.navKeyText())->setView(v);
}

void SectionArea::showFirstSection() {
    m_nav.switchTo(navKey(ContentSection::Signals));
    for (SectionPanel* p : panels())
        p->setVisible(p->key() == m_nav.current());
}

void SectionArea::layoutPanels() {
    for (SectionPanel* p : panels()) {
        auto* middle = p->parentWidget();
        p->setGeometry(2, 0, middle->width() - 2, middle->height());
        p->layoutContents();
    }
}

void SectionArea::hideContentPane() {
    if (m_contentPane && m_contentPane->isVisible())
        m_contentPane->hide();
}

void SectionArea::runScript(const QString& view, const QString& script) {
    trace(QStringLiteral("page script ") + view + QStringLiteral(": ") + script);
    if (m_hooks.runPageScript)
        m_hooks.runPageScript(view, script);
}

void SectionArea::navbtClick(const QString& key) {
    const bool mustSwitch = m_nav.click(key);
    for (auto it = m_navButtons.cbegin(); it != m_navButtons.cend(); ++it) {
        it.value()->setTag(m_nav.tag(it.key()));
        it.value()->update();
    }
    hideContentPane();
    if (mustSwitch)
        switchPae(key);
}

void SectionArea::navEnter(const QString& key) {
    if (m_nav.enter(key)) {
        m_navButtons.value(key)->setTag(m_nav.tag(key));
        m_navButtons.value(key)->update();
    }
}

void SectionArea::navLeave(const QString& key) {
    if (m_nav.leave(key)) {
        m_navButtons.value(key)->setTag(m_nav.tag(key));
        m_navButtons.value(key)->update();
    }
}

QString SectionArea::switchPae(const QString& key) {
    hideContentPane();
    SectionPanel* next = panel(key);
    if (!next)
        throw InvalidAccessError("switchPae: no section panel \"" + key.toStdString() + "MPae\"");
    if (SectionPanel* current = currentSectionPanel())
        current->hide();
    m_nav.switchTo(key);
    next->show();
    return QStringLiteral("1");
}

void SectionArea::repaintGroup(const QString& groupName) {
    for (SectionPanel* p : panels())
        for (SkinPanel* b : p->groupButtons(groupName))
            b->update();
}

void SectionArea::filterClick(const QString& groupName, int buttonTag) {
    FilterGroup* g = groupByName(groupName);
    if (!g)
        return;
    const std::optional<QString> script = g->click(buttonTag);
    if (!script)
        return;
    repaintGroup(groupName);
    runScript(g->view(), *script);
}

void SectionArea::RzPanel18Click(int buttonTag) {
    FilterGroup* g = groupByName(QStringLiteral("RzPanel14"));
    g->styleClick(buttonTag, QString());
    repaintGroup(g->name());
    if (!m_hooks.pageBody)
        return;
    m_hooks.pageBody(g->view(), [this, buttonTag](const QString& body) {
        if (const std::optional<QString> script = FilterGroup::styleScript(buttonTag, body))
            runScript(viewName(ContentSection::Signals), *script);
    });
}

void SectionArea::artVideoBtnClick() {
    runScript(viewName(ContentSection::Articles), QStringLiteral("showArtType(999)"));
}

void SectionArea::refreshClick(const QString& key) {
    const SectionCommands::Refresh r = SectionCommands::refresh(key, m_state.sessid());
    if (r.view.isEmpty() || !m_state.paths)
        return;
    const QString url = m_state.paths->endpoints.pageServer.root() + r.path;
    trace(QStringLiteral("refresh ") + r.view + QStringLiteral(": ") + url);
    if (m_hooks.navigateView)
        m_hooks.navigateView(r.view, url);
}

void SectionArea::ASML_XAGRMBClick(const QString& itemName, const QString& caption) {
    SkinPanel* button =
        panel(navKey(ContentSection::Articles))->control(QStringLiteral("aySYMTypeBT"));
    if (button && button->caption() != caption)
        button->setCaption(caption);
    runScript(viewName(ContentSection::Articles),
              SectionCommands::instrumentScript(itemName, caption));
}

void SectionArea::openServicePage(const QString& button) {
    const SectionCommands::ServicePage page =
        SectionCommands::servicePage(button, m_state.sessid());
    if (page.title.isEmpty())
        return;
    trace(QStringLiteral("service page ") + page.params);
    if (m_hooks.showoptPage)
        m_hooks.showoptPage(page.title, page.params, page.staytitle, QString());
}

} // namespace kovan
