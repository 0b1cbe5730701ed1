#include "core/ContentSections.h"

namespace kovan {

const std::array<ContentSectionInfo, kContentSectionCount>& contentSections() {
    static const std::array<ContentSectionInfo, kContentSectionCount> table{{
        {ContentSection::Signals,
         "sign",
         "sg",
         "sgWeb",
         "/tools/signlist/",
         "LUDsign",
         "signCHG",
         "信号",
         0,
         "",
         1,
         "showPostype",
         {"全部", "看涨", "看跌", ""}},
        {ContentSection::Articles,
         "arts",
         "ay",
         "ayWeb",
         "/tools/artlist/",
         "LUDarts",
         "artsCHG",
         "分析",
         2,
         "",
         0,
         "showArtType",
         {"全部", "行情分析", "新闻评论", "专题报告"}},
        {ContentSection::Plans,
         "plan",
         "pl",
         "plWeb",
         "/tools/planlist/",
         "LUDplan",
         "planCHG",
         "策略",
         3,
         "/",
         0,
         "showPlanType",
         {"全部", "短期", "中期", "长期"}},
        {ContentSection::Events,
         "mkte",
         "dt",
         "dtWeb",
         "/tools/mktevent/",
         "LUDmkts",
         "mktsCHG",
         "事件",
         1,
         "",
         0,
         "showDataType",
         {"全部", "重要事件", "经济数据", ""}},
    }};
    return table;
}

const ContentSectionInfo& contentSection(ContentSection id) {
    return contentSections()[std::size_t(id)];
}

const std::array<const ContentSectionInfo*, kContentSectionCount>& contentSectionsInNavOrder() {
    static const auto ordered = [] {
        std::array<const ContentSectionInfo*, kContentSectionCount> out{};
        for (const ContentSectionInfo& s : contentSections())
            out[std::size_t(s.navIndex)] = &s;
        return out;
    }();
    return ordered;
}

const ContentSectionInfo* contentSectionByPageKey(QStringView pageKey) {
    for (const ContentSectionInfo& s : contentSections())
        if (pageKey == QLatin1StringView(s.pageKey))
            return &s;
    return nullptr;
}

const ContentSectionInfo* contentSectionByNavKey(QStringView navKey) {
    for (const ContentSectionInfo& s : contentSections())
        if (navKey == QLatin1StringView(s.navKey))
            return &s;
    return nullptr;
}

QStringList ContentSectionInfo::filterCaptionTexts() const {
    QStringList out;
    for (const char* c : filterCaptions)
        if (*c)
            out.append(QString::fromUtf8(c));
    return out;
}

} // namespace kovan
