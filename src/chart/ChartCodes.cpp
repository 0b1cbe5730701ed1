#include "chart/ChartCodes.h"

#include "chart/ChartData.h"
#include "core/Errors.h"

namespace kovan {

QString chartCodeProblem(const QString& code) {
    if (code.isEmpty())
        return QStringLiteral("the code is empty");
    if (code.size() > ChartDataInfoRecord::maxCodeLength)
        return QStringLiteral("\"%1\" is longer than %2 characters")
            .arg(code)
            .arg(ChartDataInfoRecord::maxCodeLength);
    if (code.front().isSpace() || code.back().isSpace())
        return QStringLiteral("\"%1\" starts or ends with a blank").arg(code);
    if (code == u"." || code == u"..")
        return QStringLiteral("\"%1\" is not a code").arg(code);
    for (const QChar c : code) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || c == u'/' || c == u'\\')
            return QStringLiteral("\"%1\" holds a character codes cannot hold").arg(code);
    }
    return {};
}

void requireChartCode(const char* what, const QString& code) {
    const QString problem = chartCodeProblem(code);
    if (!problem.isEmpty())
        throw ConversionError(std::string(what) + ": " + problem.toStdString());
}

} // namespace kovan
