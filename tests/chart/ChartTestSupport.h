#pragma once

#include "chart/ChartData.h"
#include "chart/ChartView.h"
#include "chart/TChart.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QJsonObject>

#include <memory>

namespace charttest {

// Text needs a QGuiApplication; the chart tests run on the offscreen platform unless told
// otherwise.
class GuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (QGuiApplication::instance())
            return;
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "chart_test";
        static char* argv[] = {name, nullptr};
        m_app = std::make_unique<QGuiApplication>(argc, argv);
    }
    // Gone before the process's static destructors run (Qt's own would be gone by then).
    void TearDown() override { m_app.reset(); }

private:
    std::unique_ptr<QGuiApplication> m_app;
};

inline ::testing::Environment* const guiEnvironment =
    ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

inline QJsonObject defaultStyle() {
    return QJsonObject{{"back", "#000000"},    {"front", "#FFFFFF"},   {"kwidth", 3},
                       {"kmargin", 1},         {"linetype", 0},        {"yinzhu", "#00FF00"},
                       {"yangzhu", "#FF0000"}, {"yinxian", "#00FF00"}, {"yangxian", "#FF0000"},
                       {"gridline", ""},       {"broken", "#FFFFFF"}};
}

inline QJsonObject symInfo(double pipmin = 1, int piplen = 0, int basepip = 8) {
    return QJsonObject{{"symbol", "XAGRMB"}, {"showname", "现货白银"}, {"period", "H1"},
                       {"PIPMIN", pipmin},   {"PIPLEN", piplen},       {"BASEPIP", basepip}};
}

// A deterministic wavy series: n hourly bars from 2023-11-14 23:00 UTC.
inline kovan::ChartDataList wavySeries(int n, float base = 5600.0f) {
    kovan::ChartDataList s;
    quint32 seed = 2463534242u;
    float p = base;
    for (int i = 0; i < n; ++i) {
        seed ^= seed << 13;
        seed ^= seed >> 17;
        seed ^= seed << 5;
        const float o = p;
        const float c = o + float(int(seed % 41) - 20);
        const float h = std::max(o, c) + float(seed % 7);
        const float l = std::min(o, c) - float((seed >> 8) % 7);
        s.push_back({1700002800 + i * 3600, o, c, l, h});
        p = c;
    }
    return s;
}

// A chart on its own view, with the default style and instrument.
struct ChartFixture {
    explicit ChartFixture(int w = 532, int h = 500, double ratio = 1)
        : view(QSize(w, h), kovan::DeviceScale(ratio)), chart(&view) {
        chart.setRecordTextBoxes(true);
        chart.setPData(data);
        chart.setStyle(defaultStyle());
        chart.setSymInfo(symInfo());
    }
    QImage published() const { return view.layers().front()->snapshot(); }

    kovan::PChartData data = std::make_shared<kovan::ChartDataInfoRecord>();
    kovan::ChartDataInfoRecord& rec = *data;
    kovan::ChartView view;
    kovan::TChart chart;
};

inline int countColour(const QImage& img, quint32 c, QRect area = QRect()) {
    if (area.isNull())
        area = img.rect();
    area &= img.rect();
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += img.pixel(x, y) == c;
    return n;
}

} // namespace charttest
