#include "shell/FilterGroup.h"

namespace kovan {

namespace {
// Rectangle from its left, top, right and bottom edges (right and bottom exclusive).
QRect edges(int l, int t, int r, int b) {
    return {l, t, r - l, b - t};
}
constexpr int kSeparator = 14;
} // namespace

FilterGroup::FilterGroup(QString name, QString view, QString function, QStringList captions)
    : m_name(std::move(name)), m_view(std::move(view)), m_function(std::move(function)),
      m_captions(std::move(captions)) {}

std::optional<QString> FilterGroup::click(int buttonTag) {
    if (buttonTag >= 10)
        return std::nullopt;
    m_tag = buttonTag;
    return m_function + u'(' + QString::number(buttonTag) + u')';
}

std::optional<QString> FilterGroup::styleClick(int buttonTag, const QString& pageBody) {
    m_tag = buttonTag;
    return styleScript(buttonTag, pageBody);
}

std::optional<QString> FilterGroup::styleScript(int buttonTag, const QString& pageBody) {
    if (!pageBody.contains(QStringLiteral("setStyle")))
        return std::nullopt;
    return QStringLiteral("setStyle(") + QString::number(buttonTag) + u')';
}

QList<FilterGroup::Slice> FilterGroup::slices(int t, int s, int n, int w, int h) {
    const bool selected = t == s;
    const int left = selected ? 10 : 7;
    const int body = selected ? 11 : 8;
    const int right = selected ? 12 : 9;
    if (t == 1)
        return {{left, edges(0, 0, 4, 25)},
                {body, edges(4, 0, w, h)},
                {kSeparator, edges(w - 1, 0, w, 25)}};
    if (t < n)
        return {{body, edges(0, 0, w, h)}, {kSeparator, edges(w - 1, 0, w, 25)}};
    return {{right, edges(w - 4, 0, w, 25)}, {body, edges(0, 0, w - 4, h)}};
}

QList<FilterGroup::Slice> FilterGroup::singleSlices(int w, int h) {
    return {{10, edges(0, 0, 4, 25)}, {11, edges(4, 0, w - 4, h)}, {12, edges(w - 4, 0, w, 25)}};
}

QList<FilterGroup> FilterGroup::sectionGroups() {
    QList<FilterGroup> groups;
    for (const ContentSectionInfo* s : contentSectionsInNavOrder())
        groups.append(FilterGroup(groupName(*s), s->viewNameText(),
                                  QString::fromLatin1(s->filterFunction), s->filterCaptionTexts()));
    groups.append(FilterGroup(
        QStringLiteral("RzPanel14"), contentSection(ContentSection::Signals).viewNameText(),
        QStringLiteral("setStyle"), {QStringLiteral("平铺"), QStringLiteral("列表")}));
    return groups;
}

} // namespace kovan
