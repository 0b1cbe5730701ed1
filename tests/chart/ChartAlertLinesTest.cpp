// A chart window's price-alert lines: drawn in a layer of their own over each frame (and none
// at all without alerts), the right click's menus in normal mode, a drag near a line moving
// that alert instead of scrolling.

#include "ChartWindowSupport.h"

#include "chart/AlertLinesOverlay.h"
#include "chart/ChartController.h"

#include "WaitUntil.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cmath>

using namespace kovan;
using namespace charttest;

namespace {

class ChartAlertLinesTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_env = std::make_unique<WindowEnvironment>();
        m_c = std::make_unique<ChartController>(m_env->options());
        QObject::connect(m_c.get(), &ChartController::chartMenuRequested,
                         [this](const QPoint& at, double price) {
                             menus << QStringLiteral("chart %1,%2").arg(at.x()).arg(at.y());
                             menuPrice = price;
                         });
        QObject::connect(
            m_c.get(), &ChartController::alertLineMenuRequested,
            [this](const QPoint& at, qint64 id) {
                menus << QStringLiteral("line %1 at %2,%3").arg(id).arg(at.x()).arg(at.y());
            });
        QObject::connect(m_c.get(), &ChartController::alertLineMoved,
                         [this](qint64 id, double price) {
                             moves.append({id, price});
                         });
    }
    void TearDown() override {
        m_c.reset();
        ASSERT_TRUE(test::waitUntil([] { return WorkerThread::liveCount() == 0; }, 10000));
        test::pumpFor(10);
        m_env.reset();
    }
    void open(int n = 1000) {
        if (n > 0)
            m_env->writeHistory("XAGRMB", "H1", hourlyBars(n));
        m_c->init(WindowEnvironment::instrument(), WindowEnvironment::style(),
                  program().session.sessInfoText, QStringLiteral("KEY1"));
    }
    // The price drawn at row y of the frame on show.
    double priceAtRow(int y) const { return m_c->chart().frameScale().price(y); }
    size_t layers() const { return m_c->view().layers().size(); }
    QRgb pixel(int x, int y) const { return m_c->view().composite().pixel(x, y); }
    int drawnRow(size_t i = 0) const { return m_c->alertOverlay().drawn().at(i).y; }

    std::unique_ptr<WindowEnvironment> m_env;
    std::unique_ptr<ChartController> m_c;
    QStringList menus;
    double menuPrice = 0;
    QList<std::pair<qint64, double>> moves;
};

constexpr QRgb kAmber = AlertLinesOverlay::kColour;

TEST_F(ChartAlertLinesTest, WithoutLinesTheViewIsExactlyWhatItWas) {
    open();
    const QImage before = m_c->view().composite();
    ASSERT_EQ(layers(), 1u);
    m_c->setAlertLines({});
    EXPECT_EQ(layers(), 1u);
    m_c->setAlertLines({{7, priceAtRow(200)}});
    EXPECT_EQ(layers(), 2u);
    EXPECT_TRUE(m_c->alertOverlay().shown());
    EXPECT_NE(m_c->view().composite(), before);
    m_c->setAlertLines({});
    EXPECT_EQ(layers(), 1u);
    EXPECT_FALSE(m_c->alertOverlay().shown());
    EXPECT_EQ(m_c->view().composite(), before);
}

TEST_F(ChartAlertLinesTest, ALineIsDashedAcrossThePriceAreaWithItsPriceOnTheAxisAndABell) {
    open();
    const double price = std::round(priceAtRow(200)); // a whole price: PIPLEN 0
    m_c->setAlertLines({{1, price}, {2, 1e9}});       // the second lies far above the scale
    ASSERT_EQ(m_c->alertOverlay().drawn().size(), 1u);
    const int y = drawnRow();
    EXPECT_EQ(y, m_c->chart().frameScale().y(price));
    EXPECT_EQ(pixel(18, y), kAmber);           // a dash (columns 16–20, then 24–28)
    EXPECT_NE(pixel(22, y), kAmber);           // the gap after it
    EXPECT_EQ(pixel(10, y - 6), kAmber);       // the bell's knob
    EXPECT_EQ(pixel(531 - 50, y - 8), kAmber); // the box on the price axis (532 wide)
    EXPECT_NE(pixel(18, y - 2), kAmber);
}

TEST_F(ChartAlertLinesTest, LinesFollowEachNewFrameAndSurviveAResize) {
    open();
    const double price = priceAtRow(240);
    m_c->setAlertLines({{1, price}});
    // A resize clears the view's layers and draws a frame on another price scale.
    m_c->viewResized(QSize(700, 400));
    EXPECT_EQ(layers(), 2u);
    EXPECT_TRUE(m_c->alertOverlay().shown());
    EXPECT_EQ(drawnRow(), m_c->chart().frameScale().y(price));
    EXPECT_NE(drawnRow(), 240);
    EXPECT_EQ(m_c->view().composite().size(), QSize(700, 400));
}

TEST_F(ChartAlertLinesTest, NoFrameNoLines) {
    open(0); // the waiting message
    m_c->setAlertLines({{1, 5600}});
    EXPECT_EQ(layers(), 1u);
    m_c->mouseDown(Qt::RightButton, 50, 60);
    EXPECT_EQ(menus, QStringList{"chart 50,60"});
    EXPECT_TRUE(std::isnan(menuPrice)); // nothing to set a price from
}

TEST_F(ChartAlertLinesTest, RightClickInNormalModeAsksForTheMenus) {
    open();
    m_c->setAlertLines({{5, priceAtRow(200)}});
    const int y = drawnRow();
    m_c->mouseDown(Qt::RightButton, 120, y + 30);
    EXPECT_EQ(menus, QStringList{QStringLiteral("chart 120,%1").arg(y + 30)});
    EXPECT_EQ(menuPrice, priceAtRow(y + 30));
    m_c->mouseDown(Qt::RightButton, 300, y - 4); // within 4 pixels: the line's own menu
    EXPECT_EQ(menus.last(), QStringLiteral("line 5 at 300,%1").arg(y - 4));
    m_c->mouseDown(Qt::RightButton, 300, 495); // the time axis: no price
    EXPECT_TRUE(std::isnan(menuPrice));

    // In cross-hair mode a right click leaves the mode and asks for nothing.
    menus.clear();
    m_c->setHandStyle(1);
    m_c->mouseDown(Qt::RightButton, 120, y);
    EXPECT_FALSE(m_c->crossMode());
    EXPECT_TRUE(menus.isEmpty());
}

TEST_F(ChartAlertLinesTest, ADragNearALineMovesTheAlertElsewhereItScrolls) {
    open();
    m_c->chart().scrollTo(500);
    m_c->syncDraw();
    m_c->setAlertLines({{9, priceAtRow(200)}});
    const int y = drawnRow();
    m_c->mouseDown(Qt::LeftButton, 100, y + 4);
    EXPECT_FALSE(m_c->dragging()); // not a scroll
    m_c->mouseMove(160, y + 40);
    EXPECT_EQ(m_c->chart().FDNInx(), 500);
    EXPECT_EQ(drawnRow(), y + 36); // the line follows the pointer as it was picked up
    m_c->mouseUp();
    ASSERT_EQ(moves.size(), 1);
    EXPECT_EQ(moves[0].first, 9);
    EXPECT_EQ(moves[0].second, priceAtRow(y + 36));
    EXPECT_EQ(drawnRow(), y); // back where it was until the alert's new price comes

    // A press that lets go where it began moves nothing.
    m_c->mouseDown(Qt::LeftButton, 100, y);
    m_c->mouseUp();
    EXPECT_EQ(moves.size(), 1);

    // Five pixels away the drag scrolls as before.
    m_c->mouseDown(Qt::LeftButton, 100, y + 5);
    EXPECT_TRUE(m_c->dragging());
    m_c->mouseMove(105, y + 5);
    EXPECT_EQ(m_c->chart().FDNInx(), 499);
    m_c->mouseUp();
    EXPECT_EQ(moves.size(), 1);
}

} // namespace
