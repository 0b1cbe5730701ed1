#include "shell/SectionCommands.h"

#include "core/ContentSections.h"
#include "core/Escaping.h"

namespace kovan {

SectionCommands::Refresh SectionCommands::refresh(const QString& key, const QString& sessidText) {
    // The session id is one path segment of every address, whatever it holds.
    const ContentSectionInfo* s = contentSectionByNavKey(key);
    if (!s)
        return {};
    return {s->viewNameText(), QLatin1StringView(s->pagePath) + urlPathSegment(sessidText) +
                                   QLatin1StringView(s->refreshSuffix)};
}

SectionCommands::ServicePage SectionCommands::servicePage(const QString& button,
                                                          const QString& sessidText) {
    const QString sessid = urlPathSegment(sessidText);
    if (button == QLatin1String("MySETBTPae"))
        return {QStringLiteral("正在关注"), QStringLiteral("myhold/") + sessid, 0};
    if (button == QLatin1String("RzPanel9"))
        return {QStringLiteral("服务团队"), QStringLiteral("authorlist/") + sessid, 0};
    if (button == QLatin1String("MyHotBtPae") || button == QLatin1String("topUNLab"))
        return {QStringLiteral("会员中心"), QStringLiteral("appadmin/") + sessid, 0};
    if (button == QLatin1String("sgBtnSet"))
        return {QStringLiteral("交易信号过滤"), QStringLiteral("signsets/") + sessid, 1};
    return {};
}

int SectionCommands::serviceTag(Mouse event) {
    switch (event) {
    case Mouse::Enter:
        return 2;
    case Mouse::Down:
        return 1;
    case Mouse::Leave:
    case Mouse::Up:
        break;
    }
    return 0;
}

int SectionCommands::serviceImage(int tag) {
    if (tag == 1)
        return 21;
    if (tag == 2)
        return 20;
    return 19;
}

const QList<SectionCommands::Instrument>& SectionCommands::instruments() {
    static const QList<Instrument> items{
        {QStringLiteral("ASML_ALL"), QStringLiteral("全部品种")},
        {QStringLiteral("ASML_XAGRMB"), QStringLiteral("现货白银")},
        {QStringLiteral("ASML_CADRMB"), QStringLiteral("现货铜")},
        {QStringLiteral("ASML_NIDRMB"), QStringLiteral("现货镍")},
        {QStringLiteral("ASML_AIDRMB"), QStringLiteral("现货铝")},
        {QStringLiteral("ASML_XAU"), QStringLiteral("黄金美元")},
        {QStringLiteral("ASML_FOREX"), QStringLiteral("外汇")},
    };
    return items;
}

QString SectionCommands::instrumentScript(const QString& itemName, const QString& caption) {
    QString symbol = itemName;
    symbol.remove(QStringLiteral("ASML_"));
    const QString argument = symbol == QLatin1String("ALL") ? QString() : caption;
    return QStringLiteral("showArtBySYM(") + jsStringLiteral(argument) + u')';
}

} // namespace kovan
