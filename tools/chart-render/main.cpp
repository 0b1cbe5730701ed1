// kovan-chart-render: runs the chart renderer offscreen over a history file and writes the
// published frame as a PNG. Used by the golden-image tests and for documentation pictures.
//
//   kovan-chart-render --history FILE.dat --syminfo JSON --style JSON [--price P]
//       [--width W] [--height H] [--first N] [--layer JSON]... [--cross X,Y]
//       [--text-mask MASK.png] --out FILE.png
//
// JSON arguments are JSON text, or @path to read it from a file. --first N leaves follow mode
// with bar N first; --layer adds an indicator layer; --cross draws the cross-hair and publishes
// that. --text-mask writes a black image with the boxes of all drawn texts in white.
// Exit status: 0 written, 1 bad arguments or files, 2 the frame was not drawn (abandoned).

#include "chart/ChartView.h"
#include "chart/HistoryFile.h"
#include "chart/TChart.h"
#include "core/JsonParams.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QStringList>

#include <cstdio>
#include <exception>
#include <memory>
#include <optional>

using namespace kovan;

namespace {

int usage(const char* why) {
    std::fprintf(stderr,
                 "kovan-chart-render: %s\n"
                 "usage: kovan-chart-render --history FILE.dat --syminfo JSON --style JSON "
                 "[--price P] [--width W] [--height H] [--first N] [--layer JSON]... "
                 "[--cross X,Y] [--text-mask MASK.png] --out FILE.png\n",
                 why);
    return 1;
}

std::optional<QString> jsonArg(const QString& arg) {
    if (!arg.startsWith(QLatin1Char('@')))
        return arg;
    QFile f(arg.mid(1));
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    return QString::fromUtf8(f.readAll());
}

} // namespace

int main(int argc, char** argv) {
    // Our arguments are read before QGuiApplication sees (and strips) options such as -style.
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);

    QString history, syminfo, style, out, maskOut;
    QStringList layers;
    float price = 0;
    int width = 532, height = 500, first = -1;
    std::optional<QPoint> cross;

    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args.at(i);
        auto value = [&]() -> std::optional<QString> {
            if (i + 1 >= args.size())
                return std::nullopt;
            return args.at(++i);
        };
        const auto v = value();
        if (!v)
            return usage("missing value");
        bool ok = true;
        if (a == QLatin1String("--history")) {
            history = *v;
        } else if (a == QLatin1String("--syminfo") || a == QLatin1String("--style") ||
                   a == QLatin1String("--layer")) {
            const auto text = jsonArg(*v);
            if (!text)
                return usage("cannot read JSON file");
            if (a == QLatin1String("--syminfo"))
                syminfo = *text;
            else if (a == QLatin1String("--style"))
                style = *text;
            else
                layers << *text;
        } else if (a == QLatin1String("--price")) {
            price = v->toFloat(&ok);
        } else if (a == QLatin1String("--width")) {
            width = v->toInt(&ok);
        } else if (a == QLatin1String("--height")) {
            height = v->toInt(&ok);
        } else if (a == QLatin1String("--first")) {
            first = v->toInt(&ok);
        } else if (a == QLatin1String("--cross")) {
            const QStringList xy = v->split(QLatin1Char(','));
            bool okx = false, oky = false;
            if (xy.size() == 2)
                cross = QPoint(xy[0].toInt(&okx), xy[1].toInt(&oky));
            ok = okx && oky;
        } else if (a == QLatin1String("--out")) {
            out = *v;
        } else if (a == QLatin1String("--text-mask")) {
            maskOut = *v;
        } else {
            return usage("unknown option");
        }
        if (!ok)
            return usage("bad number");
    }
    if (history.isEmpty() || syminfo.isEmpty() || style.isEmpty() || out.isEmpty())
        return usage("--history, --syminfo, --style and --out are required");
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384)
        return usage("bad size");

    bool okSym = false, okStyle = false;
    const QJsonObject sym = parseJsonObject(syminfo, &okSym);
    const QJsonObject sty = parseJsonObject(style, &okStyle);
    if (!okSym || !okStyle)
        return usage("--syminfo and --style must be JSON objects");

    const PChartData rec = std::make_shared<ChartDataInfoRecord>();
    rec->setSymbol(jsonText(sym, u"symbol"));
    rec->setPeriod(jsonText(sym, u"period"));
    try {
        loadHistoryFile(history, rec->datalist);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kovan-chart-render: %s\n", e.what());
        return 1;
    }

    ChartView view(QSize(width, height));
    TChart chart(&view);
    chart.setRecordTextBoxes(!maskOut.isEmpty());
    chart.setPData(rec);
    chart.setStyle(sty);
    chart.setSymInfo(sym);
    try {
        for (const QString& l : layers)
            chart.addLayer(1, l);
        if (first >= 0)
            chart.scrollTo(first);
        chart.setPrice(price); // stores the price and draws
        if (cross)
            chart.drawCross(cross->x(), cross->y());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kovan-chart-render: %s\n", e.what());
        return 2;
    }
    if (view.publishCount() == 0) {
        std::fprintf(stderr, "kovan-chart-render: the frame was abandoned\n");
        return 2;
    }
    if (!view.composite().convertToFormat(QImage::Format_RGB32).save(out, "PNG")) {
        std::fprintf(stderr, "kovan-chart-render: cannot write %s\n", qPrintable(out));
        return 1;
    }
    if (!maskOut.isEmpty()) {
        QImage mask(width, height, QImage::Format_RGB32);
        mask.fill(Qt::black);
        QPainter p(&mask);
        for (const auto& t : chart.publishedTextBoxes())
            p.fillRect(t.box, Qt::white);
        p.end();
        if (!mask.save(maskOut, "PNG"))
            return 1;
    }
    return 0;
}
