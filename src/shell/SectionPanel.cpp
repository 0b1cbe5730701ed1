#include "shell/SectionPanel.h"

#include "shell/FormLayout.h"
#include "shell/SkinImages.h"
#include "shell/SkinPainters.h"

namespace kovan {

SectionPanel::SectionPanel(const QString& key, QWidget* parent)
    : SkinPanel(key + QStringLiteral("MPae"), parent), m_key(key) {
    setPainter(SkinPainters::solid(Qt::white));
    m_header = new SkinPanel(key + QStringLiteral("TopPae"), this);
    m_header->setPainter(SkinPainters::stretched(SkinImages::kSectionHeaderStrip));
}

void SectionPanel::setView(QWidget* view) {
    if (m_view == view)
        return;
    m_view = view;
    if (m_view) {
        m_view->setParent(this);
        m_view->setGeometry(0, FormLayout::kHeaderHeight, width(),
                            std::max(0, height() - FormLayout::kHeaderHeight));
        m_view->show();
    }
}

SkinPanel* SectionPanel::addGroup(const QString& name, const QStringList& captions,
                                  const QStringList& buttonNames, int left, int width) {
    auto* group = new SkinPanel(name, m_header);
    group->setTag(1);
    group->setGeometry(left, FormLayout::kHeaderButtonTop, width, 25);
    QList<SkinPanel*> buttons;
    for (int i = 0; i < captions.size(); ++i) {
        auto* b = new SkinPanel(buttonNames.value(i), group);
        b->setTag(i + 1);
        b->setCaption(captions[i]);
        b->setCursor(Qt::PointingHandCursor);
        b->setGeometry(i * FormLayout::kGroupButtonWidth, 0, FormLayout::kGroupButtonWidth, 25);
        buttons.append(b);
        m_controls.insert(b->objectName(), b);
    }
    m_controls.insert(name, group);
    m_groupButtons.insert(name, buttons);
    return group;
}

SkinPanel* SectionPanel::addButton(const QString& name, const QString& caption, int width) {
    auto* b = new SkinPanel(name, m_header);
    b->setTag(100);
    b->setCaption(caption);
    b->setCursor(Qt::PointingHandCursor);
    b->setGeometry(0, FormLayout::kHeaderButtonTop, width, 25);
    m_controls.insert(name, b);
    return b;
}

void SectionPanel::layoutContents() {
    m_header->setGeometry(0, 0, width(), FormLayout::kHeaderHeight);
    if (m_view)
        m_view->setGeometry(0, FormLayout::kHeaderHeight, width(),
                            std::max(0, height() - FormLayout::kHeaderHeight));
    const FormLayout::HeaderPlaces h = FormLayout::headerPlaces(width());
    auto moveTo = [this](const QString& name, int left) {
        if (SkinPanel* c = control(name))
            c->move(left, c->y());
    };
    moveTo(m_key + QStringLiteral("BtnRht"), h.refresh);
    moveTo(QStringLiteral("sgBtnSet"), h.sgBtnSet);
    moveTo(QStringLiteral("sgBtnChart"), h.sgBtnChart);
    moveTo(QStringLiteral("RzPanel14"), h.RzPanel14);
    moveTo(QStringLiteral("aySYMTypeBT"), h.aySYMTypeBT);
    moveTo(QStringLiteral("artVideoBtn"), h.artVideoBtn);
}

} // namespace kovan
