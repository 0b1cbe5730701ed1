#include "chart/IndicatorPainters.h"

#include "chart/TextColors.h"
#include "core/JsonParams.h"

#include <QJsonArray>
#include <QLocale>

#include <algorithm>
#include <vector>

namespace kovan {

namespace {

// An attribute as the text a label shows: strings as they are, numbers in their shortest form.
QString attrText(const QJsonObject& o, QStringView key) {
    const QJsonValue v = o.value(key);
    if (v.isDouble())
        return QString::number(v.toDouble(), 'g', QLocale::FloatingPointShortest);
    return jsonText(o, key);
}

int attrInt(const QJsonObject& o, QStringView key) {
    return int(std::clamp<qint64>(jsonInt(o, key), -1000000000, 1000000000));
}

// A layer colour, or the style colour named by `fallback` when it is empty.
quint32 layerColour(const QJsonObject& attr, QStringView key, const ChartStyle& style,
                    ChartStyle::Colour fallback) {
    const QString s = jsonText(attr, key);
    return s.isEmpty() ? style.colour(fallback) : styleColor(s);
}

// The last visible bar that exists.
int lastBar(const IndicatorFrame& f) {
    return std::min(f.last, int(f.bars.size()) - 1);
}

struct IndicatorType {
    QStringView name;
    IndicatorPainter painter;
};

constexpr IndicatorType indicatorTypes[] = {
    {u"PPVI", paintPivots},
    {u"BB", paintBands},
    {u"MA", paintMovingAverages},
};

} // namespace

IndicatorPainter indicatorPainter(QStringView type) {
    for (const IndicatorType& t : indicatorTypes)
        if (t.name == type)
            return t.painter;
    return nullptr;
}

void paintPivots(IndicatorFrame& f, const QJsonObject& a) {
    const ChartDataList& bars = f.bars;
    const int last = lastBar(f);
    const qint64 itime = jsonInt(a, u"itime");
    if (itime <= 0 || last < 0 || bars[size_t(last)].dl < itime)
        return;
    // The levels start after the visible bars older than itime.
    int k = 0;
    for (int i = std::max(f.first, 0); i <= last && bars[size_t(i)].dl < itime; ++i)
        ++k;
    const int xs = k > 0 ? k * f.step : 1;

    const quint32 zc = layerColour(a, u"zccolor", f.style, ChartStyle::Yinxian);
    const quint32 zl = layerColour(a, u"zlcolor", f.style, ChartStyle::Yangzhu);
    const quint32 pp = layerColour(a, u"ppcolor", f.style, ChartStyle::Broken);
    ChartCanvas& canvas = f.canvas;
    const int w = canvas.width(), H = canvas.height() - 20;
    if (xs > 1)
        canvas.line(xs, 1, xs, H, f.style.colour(ChartStyle::Front));

    const quint32 back = f.style.colour(ChartStyle::Back);
    f.canvas.font.setPointSize(8);
    // Dots on every third column from xs to w - 60 inclusive.
    auto dotted = [&](int y, quint32 c) {
        if (y < 0 || y >= canvas.height())
            return;
        int x = xs <= 0 ? 0 : (xs + 2) / 3 * 3;
        for (; x <= w - 60; x += 3)
            canvas.setPixel(x, y, c);
    };

    // The pivot is drawn even off the scale (clipped).
    const int y = f.scale.y(jsonReal(a, u"PV"));
    dotted(y, pp);
    f.canvas.text(xs + 10, y - 7, QStringLiteral("PP ") + attrText(a, u"PV"), fontColour(pp, back));

    // One dotted level per key with its label: above the line for resistances, below for
    // supports. The second support also gets a solid line under its dots.
    auto levels = [&](const char16_t* const* keys, const char16_t* const* labels, quint32 c,
                      int textDy, int solidIndex) {
        const quint32 textColour = fontColour(c, back);
        for (int i = 0; i < 5; ++i) {
            const int ly = f.scale.y(jsonReal(a, QStringView(keys[i])));
            if (ly <= 1 || ly >= H)
                continue;
            if (i == solidIndex)
                canvas.line(xs, ly, w, ly, c);
            dotted(ly, c);
            f.canvas.text(xs + 10, ly + textDy, QString::fromUtf16(labels[i]), textColour);
        }
    };
    static constexpr const char16_t* resistances[] = {u"R5", u"R4", u"R3", u"R2", u"R1"};
    static constexpr const char16_t* resistanceLabels[] = {u"阻力5", u"阻力4", u"阻力3", u"阻力2",
                                                           u"阻力1"};
    static constexpr const char16_t* supports[] = {u"S1", u"S2", u"S3", u"S4", u"S5"};
    static constexpr const char16_t* supportLabels[] = {u"支撑1", u"支撑2", u"支撑3", u"支撑4",
                                                        u"支撑5"};
    levels(resistances, resistanceLabels, zl, -16, -1);
    levels(supports, supportLabels, zc, 5, 1);
}

void paintMovingAverages(IndicatorFrame& f, const QJsonObject& a) {
    const QJsonValue list = a.value(QLatin1String("MALIST"));
    if (!list.isArray() || list.toArray().isEmpty())
        return;
    const int last = lastBar(f);
    quint32 c = f.style.colour(ChartStyle::Front);
    std::vector<QPoint> points;
    for (const QJsonValue& ev : list.toArray()) {
        const QJsonObject e = ev.toObject();
        const int maped = attrInt(e, u"MAPED");
        if (maped < 1)
            continue;
        const QString colour = jsonText(e, u"color");
        if (!colour.isEmpty())
            c = styleColor(colour); // an entry without a colour keeps the previous one
        const int lw = attrInt(e, u"linew");
        points.clear();
        for (int k = 0; f.first + k <= last; ++k) {
            const int i = f.first + k;
            points.emplace_back(k * f.step + f.step / 2,
                                f.scale.y(avgPrice(f.bars, i, maped, FieldClose)));
        }
        f.canvas.wideLine(points, lw, c);
    }
}

void paintBands(IndicatorFrame& f, const QJsonObject& a) {
    const quint32 c = layerColour(a, u"color", f.style, ChartStyle::Front);
    const int n = attrInt(a, u"cycle");
    const int m = attrInt(a, u"stddev");
    const int lw = attrInt(a, u"linew");
    const int last = lastBar(f);
    std::vector<QPoint> upper, middle, lower;
    for (int k = 0; f.first + k <= last; ++k) {
        const int i = f.first + k;
        const TMYDAr b = bandValues(f.bars, i, m, n);
        const int x = k * f.step + f.step / 2;
        upper.emplace_back(x, f.scale.y(b[0]));
        middle.emplace_back(x, f.scale.y(b[1]));
        lower.emplace_back(x, f.scale.y(b[2]));
    }
    f.canvas.wideLine(upper, lw, c);
    f.canvas.wideLine(middle, lw, c);
    f.canvas.wideLine(lower, lw, c);
}

} // namespace kovan
