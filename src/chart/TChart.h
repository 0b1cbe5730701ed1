#pragma once

#include "chart/ChartCanvas.h"
#include "chart/ChartData.h"
#include "chart/ChartFrameLayout.h"
#include "chart/ChartGeometry.h"
#include "chart/ChartStyle.h"
#include "chart/ChartView.h"
#include "chart/IndicatorPainters.h"
#include "chart/LayerRecord.h"

#include <QImage>
#include <QJsonObject>
#include <QString>

#include <memory>
#include <vector>

namespace kovan {

// TChart draws one price chart (candles or a close line, price and time axes, the current-price
// marker, indicator layers) into an off-screen cache and publishes finished frames into the
// bottom bitmap layer of its ChartView. It also owns horizontal scrolling.
//
// Threads and serialisation. A TChart, its layer list and the series it draws belong to the GUI
// thread: every call below is made there. The chart's feed thread never merges or draws
// itself; it parses a reply and hands it to the GUI thread (a queued call), which merges the
// bars into the series and draws. So merge and drawing of one chart never overlap, the bar
// array never moves under a draw, and the cache needs no lock. What other threads may read are
// the published bitmaps of the view, each under its own lock (BitmapLayer).
//
// Driving it from a window: create a ChartView with the widget's size and a TChart on it; hand
// in the series (setPData), style and instrument; call draw(). The widget paints
// view->composite() (or each layer's bitmap under its lock) and calls update() from
// view->setOnPublished. On a widget resize: view->setSize(newSize), then chart.resize(). Mouse:
// movePX(anchorX, x) while dragging (keep the anchor until it returns true), drawCross(x, y) in
// cross-hair mode, drawCross(-1, -1) to take the cross-hair away. A period switch that replaces
// the series calls setSymInfo (back to follow mode) and draw().
//
// Device pixels. The cache and every published bitmap are the view's size times its device
// pixel ratio (ChartView::scale, taken with the size), with that ratio set; the layout, the
// mouse coordinates (movePX, drawCross) and FMWidth/FMHeight stay in logical pixels and the
// canvas scales what is drawn. At ratio 1 both are the same pixels.
//
// A full frame is laid out first, on numbers only (layoutFrame: visible range, price scale,
// label, bar and marker positions), then painted into a work bitmap (paintFrame, then each
// indicator layer through its painter), which becomes the cache when the frame is complete.
//
// Errors. drawFull never lets an error out: an invalid colour, a malformed layer, an unusable
// price scale (a flat range without margin, PIPMIN 0, non-finite prices), no bar to show (a
// view narrower than the follow mode's right margin) abandon the frame and the previous
// picture stays published. drawWait and drawCross pass InvalidColorError on.
class TChart {
public:
    // create(AOwner): binds the chart to `view`, creates the bottom layer and the cache at the
    // view's size. Follow mode, no layers, empty style and instrument.
    explicit TChart(ChartView* view);
    TChart(const TChart&) = delete;
    TChart& operator=(const TChart&) = delete;

    // ---- properties -------------------------------------------------------------------
    // The chart shares the series with the window (and its feed): it stays alive as long as
    // the chart holds it.
    void setPData(PChartData p) {
        m_FPDPoint = p;
        m_FPData = std::move(p);
    }
    const PChartData& PData() const { return m_FPData; }
    // The style is read once here (ChartStyle); a bad colour in it fails the drawing that reads
    // that colour.
    void setStyle(const QJsonObject& s) { m_FStyle = ChartStyle(s); }
    const ChartStyle& style() const { return m_FStyle; }
    void setSymInfo(const QJsonObject& s); // also back to follow mode
    const QJsonObject& SymInfo() const { return m_FSyminfo; }
    void setPrice(float p); // stores and draws; 0 = no price known
    // Stores the price without drawing: a caller that also changed bars draws once for both.
    void storePrice(float p) { m_FPrice = p; }
    float Price() const { return m_FPrice; }
    bool AutoMove() const { return m_FAutoMove; }
    void setAutoMove(bool on) { m_FAutoMove = on; }
    // Leaves follow mode with bar `first` as the first visible bar (a scroll without a drag).
    void scrollTo(int first);

    // ---- drawing ----------------------------------------------------------------------
    void draw();     // full frame when the series has bars, else the waiting text
    void drawWait(); // "正在载入..." centred; publishes
    void drawFull(); // a full frame; publishes unless abandoned
    // A frame after a change of the last bar or the price only: drawn like drawFull, but when
    // the bitmap on show is the previous frame and nothing else moved (no indicator layer, the
    // same scale, labels and visible bars: lastBarChange), the view is told only the rectangle
    // that changed, so the widget repaints and sends only that.
    void drawLastBar();
    void drawCross(int X, int Y); // cross-hair on a copy of the cache; publishes that copy
    // The cross-hair also shows the time, open, high, low and close of the bar under it at the
    // view's top-left (off by default; the chart window turns it on).
    void setOhlcReadout(bool on) { m_ohlcReadout = on; }
    bool ohlcReadout() const { return m_ohlcReadout; }
    bool movePX(int X1, int X2); // drag scroll; true when it scrolled (and drew)
    void resize();               // takes the view's size; clears the view's layers; draws
    // movePX and resize without the frame, for a caller that draws once for all its changes.
    bool scrollPX(int X1, int X2);
    void takeViewSize();
    void clear() {}
    void drawLine() {}

    // ---- layers -----------------------------------------------------------------------
    // addLayer returns the key of the layer made or replaced; throws ConversionError when
    // lInfo is not JSON. None of the three draws except removeLayer.
    QString addLayer(int cate, const QString& lInfo);
    void ModifyLayer(const QString& lKey, const QString& lInfo);
    void removeLayer(const QString& layerKey);
    void dropLayer(const QString& layerKey); // removeLayer without the frame
    const std::vector<LayerRecord>& IndexLayers() const { return m_IndexLayers; }

    // ---- indicators (into the cache, from the stored frame values) --------------------
    // A full frame draws its indicator layers through indicatorPainter() into the frame being
    // drawn; these draw layer number layerInx into the cache outside a frame.
    void drawIndexPPVI(int layerInx) { drawIndicator(layerInx, paintPivots); }
    void drawIndexMA(int layerInx) { drawIndicator(layerInx, paintMovingAverages); }
    void DrawIndexBB(int layerInx) { drawIndicator(layerInx, paintBands); }
    void drawMktDTI(int) {} // "MKDT" layers draw nothing

    // ---- state of the last frame (read-only; tests, the window) -----------------------
    bool FDFulled() const { return m_FDFulled; }
    int FDNInx() const { return m_FDNInx; }
    int FELineST() const { return m_FELineST; }
    int FELineED() const { return m_FELineED; }
    const PriceScale& frameScale() const { return m_scale; }
    int FMWidth() const { return m_FMWidth; }
    int FMHeight() const { return m_FMHeight; }
    // Device pixels per logical pixel of the cache (the view's, taken with its size).
    const DeviceScale& deviceScale() const { return m_device; }
    const QImage& cache() const { return m_CacheMap; }
    ChartView* view() const { return m_FMView; }

    // The layout of the last full frame tried; its status tells whether it was drawn.
    const ChartFrameLayout& frameLayout() const { return m_layout; }

    // Texts of the last published picture with their boxes, when recording is on (tests read
    // the labels; golden-image tests mask text pixels, whose rasterisation differs between
    // machines).
    using TextBox = ChartTextBox;
    void setRecordTextBoxes(bool on) { m_recordText = on; }
    const std::vector<TextBox>& publishedTextBoxes() const { return m_publishedText; }
    // The font the cache holds: the platform default until the first full frame, then
    // Verdana (the waiting message changes its size). The cross-hair never changes it.
    const ChartFont& cacheFont() const { return m_font; }

    // The part of the view the last publish changed (empty: all of it). Tests.
    const QRegion& lastChange() const { return m_lastChange; }

private:
    void drawFullFrame(bool lastBarOnly);
    void drawIndicator(int layerInx, IndicatorPainter painter);
    bool hasIndicators() const;
    // A region of the frame's layout (logical pixels) as the bitmap's pixels that hold it.
    QRegion devicePixels(const QRegion& logical) const;
    void publish(const QImage& frame, const std::vector<TextBox>& textBoxes,
                 const QRegion& changed = QRegion());
    std::vector<TextBox>* recorder(std::vector<TextBox>& boxes) {
        return m_recordText ? &boxes : nullptr;
    }
    int pipLen() const;

    std::vector<LayerRecord> m_IndexLayers;
    QImage m_CacheMap;
    QImage m_workMap; // a full frame is drawn here and swapped in when it succeeds
    // Cross-hair frames, drawn into each in turn: the one just published is shared with the
    // view's bitmap, the other is free to draw into (no allocation, no copy per mouse move).
    QImage m_crossMaps[2];
    int m_crossNext = 0;
    ChartView* m_FMView;
    std::shared_ptr<BitmapLayer> m_bottom;
    int m_FMWidth = 0;
    int m_FMHeight = 0;
    ChartStyle m_FStyle;
    QJsonObject m_FSyminfo;
    PChartData m_FPDPoint;
    bool m_FAutoMove = true;
    int m_FDNInx = 0;
    bool m_FDFulled = false;
    PChartData m_FPData;
    float m_FPrice = 0;
    int m_FELineST = 0;
    int m_FELineED = -1;
    PriceScale m_scale;        // FEPHigh, FEPLow, FEPPerPx, FEPMinPip
    ChartFrameLayout m_layout; // reused frame after frame
    // The layout of the frame the bottom layer shows, while it shows one (not the waiting
    // text, not a cross-hair copy): what a last-bar frame is compared with.
    ChartFrameLayout m_shownLayout;
    bool m_frameShown = false;
    QRegion m_lastChange;

    ChartFont m_font; // the cache's current font
    // Verdana 8: time labels are measured in it and the cross-hair read-outs drawn in it (on
    // their own bitmap, so the cache's font stays as it is).
    ChartFont m_axisFont{QStringLiteral("Verdana"), 8};
    // The same font at the view's scale, which the cross-hair's read-outs are drawn in.
    ChartFont m_crossFont{QStringLiteral("Verdana"), 8};
    DeviceScale m_device; // the view's, taken with its size
    bool m_recordText = false;
    bool m_ohlcReadout = false;
    std::vector<TextBox> m_cacheText;
    std::vector<TextBox> m_workText;
    std::vector<TextBox> m_publishedText;
};

} // namespace kovan
