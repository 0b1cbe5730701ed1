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
    return {
        FilterGroup(QStringLiteral("sgBtnGrp"), QStringLiteral("sgWeb"),
                    QStringLiteral("showPostype"),
                    {QStringLiteral("全部"), QStringLiteral("看涨"), QStringLiteral("看跌")}),
        FilterGroup(
            QStringLiteral("dtBtnGrp"), QStringLiteral("dtWeb"), QStringLiteral("showDataType"),
            {QStringLiteral("全部"), QStringLiteral("重要事件"), QStringLiteral("经济数据")}),
        FilterGroup(QStringLiteral("ayBtnGrp"), QStringLiteral("ayWeb"),
                    QStringLiteral("showArtType"),
                    {QStringLiteral("全部"), QStringLiteral("行情分析"), QStringLiteral("新闻评论"),
                     QStringLiteral("专题报告")}),
        FilterGroup(QStringLiteral("plBtnGrp"), QStringLiteral("plWeb"),
                    QStringLiteral("showPlanType"),
                    {QStringLiteral("全部"), QStringLiteral("短期"), QStringLiteral("中期"),
                     QStringLiteral("长期")}),
        FilterGroup(QStringLiteral("RzPanel14"), QStringLiteral("sgWeb"),
                    QStringLiteral("setStyle"), {QStringLiteral("平铺"), QStringLiteral("列表")}),
    };
}

} // namespace kovan
