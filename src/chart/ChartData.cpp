#include "chart/ChartData.h"

#include "core/JsonParams.h"

#include <cmath>

namespace kovan {

ChartDataList& SharedChartDataList::edit() {
    if (!m_bars)
        m_bars = std::make_shared<ChartDataList>();
    else if (!alone()) // a snapshot is alive: it keeps the bars it has
        m_bars = std::make_shared<ChartDataList>(*m_bars);
    return *m_bars;
}

const ChartDataList& SharedChartDataList::noBars() {
    static const ChartDataList none;
    return none;
}

quint32 styleColor(const QString& s) {
    if (s.isEmpty())
        return 0;
    QString t = s.toUpper();
    t.remove(QLatin1Char('#'));
    if (t.size() != 6 && t.size() != 7)
        throw InvalidColorError();
    quint32 rgb = 0;
    for (int i = 0; i < t.size(); ++i) {
        const QChar c = t.at(i);
        int d;
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            d = c.unicode() - '0';
        else if (c >= QLatin1Char('A') && c <= QLatin1Char('F'))
            d = c.unicode() - 'A' + 10;
        else
            throw InvalidColorError();
        if (i < 6) // a seventh digit is checked but not read
            rgb = rgb * 16 + quint32(d);
    }
    return 0xFF000000u + rgb;
}

quint32 styleColor(const QJsonObject& style, QStringView key) {
    return styleColor(jsonText(style, key));
}

int styleInt(const QJsonObject& style, QStringView key) {
    const qint64 v = jsonInt(style, key);
    // Widths are pixels; anything beyond int range is nonsense and would overflow geometry.
    if (v > 1000000)
        return 1000000;
    if (v < -1000000)
        return -1000000;
    return int(v);
}

static double fieldOf(const ChartDataListRecord& r, int field) {
    switch (field) {
    case FieldClose:
        return r.close;
    case FieldOpen:
        return r.open;
    case FieldLow:
        return r.low;
    case FieldHigh:
        return r.high;
    default:
        return 0.0;
    }
}

double avgPrice(const ChartDataList& series, int index, int count, int field) {
    if (index >= int(series.size()))
        index = int(series.size()) - 1; // bars past the end do not exist
    double sum = 0.0;
    int n = 0;
    for (int i = index; i >= 0 && n < count; --i, ++n)
        sum += fieldOf(series[size_t(i)], field);
    return n > 0 ? sum / n : 0.0;
}

TMYDAr bandValues(const ChartDataList& series, int index, int k, int count) {
    if (index < 0 || index >= int(series.size()))
        return {0.0, 0.0, 0.0};
    const double m = avgPrice(series, index, count, FieldClose);
    double sum = 0.0;
    int n = 0;
    for (int i = index; i >= 0 && n < count; --i, ++n) {
        const double d = double(series[size_t(i)].close) - m;
        sum += d * d;
    }
    if (n < 1)
        n = 1;
    const double sd = std::sqrt(sum / n);
    return {m + k * sd, m, m - k * sd};
}

} // namespace kovan
