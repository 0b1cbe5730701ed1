// Stay-on-top changed in place, under a real window manager on an X server of the test's own:
// the native window keeps its id, stays mapped and where it is; the window manager's state
// follows (_NET_WM_STATE_ABOVE); the widget's and the native window's flags agree.

#include "shell/WindowStacking.h"

#include "TestMain.h"
#include "WaitUntil.h"
#include "X11Desktop.h"

#include <QEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string_view>

// The program's X server with its window manager (main), for the tests of both files.
kovan::test::X11Desktop* g_desktop = nullptr;

namespace {

// Counts what would show that a window was taken down and put up again.
class EventCount : public QObject {
public:
    int hides = 0, shows = 0, winIdChanges = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        hides += e->type() == QEvent::Hide;
        shows += e->type() == QEvent::Show;
        winIdChanges += e->type() == QEvent::WinIdChange;
        return false;
    }
};

bool above(quint64 window) {
    return g_desktop->netWmState(window).contains(QStringLiteral("_NET_WM_STATE_ABOVE"));
}

} // namespace

TEST(WindowStacking, OnOffOnChangesTheStackingOfTheSameMappedWindowInPlace) {
    for (const Qt::WindowFlags base :
         {Qt::WindowFlags(Qt::Window), Qt::Tool | Qt::FramelessWindowHint}) {
        SCOPED_TRACE(int(base));
        QWidget window;
        window.setWindowFlags(base);
        window.setGeometry(200, 150, 320, 200);
        window.show();
        const quint64 id = window.winId();
        ASSERT_TRUE(kovan::test::waitUntil([&] { return g_desktop->wmState(id) == "Normal"; }));
        ASSERT_TRUE(kovan::test::waitUntil([&] { return window.pos() != QPoint(); }));
        kovan::test::pumpFor(100);
        const QPoint place = window.pos();
        EventCount events;
        window.installEventFilter(&events);

        for (const bool onTop : {true, false, true}) {
            SCOPED_TRACE(onTop);
            kovan::setStaysOnTop(&window, onTop);
            EXPECT_EQ(bool(window.windowFlags() & Qt::WindowStaysOnTopHint), onTop);
            EXPECT_EQ(bool(window.windowHandle()->flags() & Qt::WindowStaysOnTopHint), onTop);
            EXPECT_TRUE(window.windowFlags().testFlags(base));
            EXPECT_TRUE(kovan::test::waitUntil([&] { return above(id) == onTop; }))
                << g_desktop->netWmState(id).join(' ').toStdString();
            EXPECT_EQ(window.winId(), id);
            EXPECT_TRUE(window.isVisible());
            EXPECT_EQ(g_desktop->wmState(id), "Normal");
            EXPECT_EQ(window.pos(), place);
        }
        EXPECT_EQ(events.hides, 0);
        EXPECT_EQ(events.shows, 0);
        EXPECT_EQ(events.winIdChanges, 0);
        // A later change of another flag keeps the stacking: the widget's flags were kept true.
        window.setWindowFlag(Qt::WindowDoesNotAcceptFocus, false);
        EXPECT_TRUE(window.windowFlags() & Qt::WindowStaysOnTopHint);
    }
}

TEST(WindowStacking, AWindowWithoutANativeOneYetOnlyTakesTheFlag) {
    QWidget window;
    kovan::setStaysOnTop(&window, true);
    EXPECT_FALSE(window.testAttribute(Qt::WA_WState_Created));
    EXPECT_TRUE(window.windowFlags() & Qt::WindowStaysOnTopHint);
    window.show();
    const quint64 id = window.winId();
    EXPECT_TRUE(window.windowHandle()->flags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(kovan::test::waitUntil([&] { return above(id); }));
    kovan::setStaysOnTop(&window, false);
    EXPECT_FALSE(window.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(kovan::test::waitUntil([&] { return !above(id); }));
}

int main(int argc, char** argv) {
    kovan::test::X11Desktop desktop;
    QString why;
    bool listing = false; // the build's test discovery needs no desktop
    for (int i = 1; i < argc; ++i)
        listing = listing || std::string_view(argv[i]) == "--gtest_list_tests";
    if (!listing && !desktop.start(&why)) {
        std::fprintf(stderr, "no X server with a window manager: %s\n",
                     why.toLocal8Bit().constData());
        return 1;
    }
    g_desktop = &desktop;
    return kovan::test::runTests(argc, argv,
                                 {.app = kovan::test::TestApp::Widgets,
                                  .offscreenUnlessSet = false,
                                  .beforeApp = [&desktop, listing] {
                                      qputenv("QT_QPA_PLATFORM", listing ? "offscreen" : "xcb");
                                      if (!listing)
                                          qputenv("DISPLAY", desktop.display().toLocal8Bit());
                                  }});
}
