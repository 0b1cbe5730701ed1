// The video window's widgets: size and layout, the texts it shows, closing, the page command.
#include "media/TvdoForm.h"
#include "core/CommandRegistry.h"
#include "core/Lifecycle.h"
#include "media/MediaModule.h"
#include "media/PosPae.h"
#include "media/VideoSurface.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QMovie>
#include <QTemporaryDir>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace kovan;

namespace {

class TvdoFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_form.controller().setCacheDir(m_dir.filePath(QStringLiteral("cache")));
    }
    QTemporaryDir m_dir;
    TvdoForm m_form;
};

TEST_F(TvdoFormTest, StartsAt734By492WithItsControlsLaidOut) {
    EXPECT_EQ(m_form.size(), QSize(734, 492));
    EXPECT_TRUE(m_form.isWindow());
    EXPECT_EQ(m_form.surface()->geometry(), QRect(0, 0, 734, 462));
    // posPae: from 88 to 70 pixels short of the bar's right end; ltPae 60 from the end.
    EXPECT_EQ(m_form.positionBar()->geometry(), QRect(88, 10, 734 - 88 - 70, 10));
    EXPECT_EQ(m_form.timeLabel()->x(), 734 - 60);
    EXPECT_EQ(m_form.timeLabel()->text(), QStringLiteral("载入中..."));
    EXPECT_EQ(m_form.loadingPicture()->geometry(),
              QRect((734 - 400) / 2, (462 - 300) / 2, 400, 300));
    EXPECT_EQ(m_form.loadingLabel()->geometry().topLeft(),
              QPoint((734 - 249) / 2, (462 - 300) / 2 + 220));
    EXPECT_EQ(m_form.loadingLabel()->text(), QStringLiteral("视频加载中 请稍侯......"));
    EXPECT_EQ(m_form.playButton()->geometry(), QRect(5, 3, 30, 24));
    EXPECT_EQ(m_form.stopButton()->geometry(), QRect(43, 3, 30, 24));
    EXPECT_FALSE(m_form.playButton()->icon().isNull());
    EXPECT_EQ(m_form.positionBar()->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(TvdoFormTest, ResizingKeepsTheBarAndTheLoadingPictureInPlace) {
    m_form.show(); // a hidden window gets its resize event only when shown
    m_form.resize(1000, 600);
    QCoreApplication::processEvents();
    EXPECT_EQ(m_form.positionBar()->width(), 1000 - 88 - 70);
    EXPECT_EQ(m_form.timeLabel()->x(), 940);
    EXPECT_EQ(m_form.loadingPicture()->pos(), QPoint(300, (570 - 300) / 2));
}

TEST_F(TvdoFormTest, AnEmptyAddressShowsTheFailureTexts) {
    m_form.loadVideo(QStringLiteral("{\"url\":\"\",\"title\":\"x\"}"));
    EXPECT_EQ(m_form.windowTitle(), QStringLiteral("加载视频失败......."));
    EXPECT_EQ(m_form.timeLabel()->text(), QStringLiteral("Error"));
    // The loading picture was written to the cache folder and animates.
    EXPECT_TRUE(QFile::exists(m_dir.filePath(QStringLiteral("cache/vdo.gif"))));
    ASSERT_TRUE(m_form.loadingPicture()->movie());
    EXPECT_EQ(m_form.loadingPicture()->movie()->speed(), 50);
}

TEST_F(TvdoFormTest, ClosingHidesTheWindowAndShowsStop) {
    m_form.show();
    QCloseEvent close;
    QCoreApplication::sendEvent(&m_form, &close);
    EXPECT_FALSE(close.isAccepted());
    EXPECT_FALSE(m_form.isVisible());
    EXPECT_EQ(m_form.timeLabel()->text(), QStringLiteral("停止"));
}

TEST_F(TvdoFormTest, TheLoadingPictureRunsOnlyWhileTheWindowShowsIt) {
    m_form.show();
    m_form.loadVideo(QStringLiteral("{\"url\":\"\",\"title\":\"x\"}"));
    const QMovie* movie = m_form.loadingPicture()->movie();
    ASSERT_TRUE(movie);
    EXPECT_EQ(movie->state() == QMovie::Running, m_form.loadingPicture()->isVisibleTo(&m_form));
    QCloseEvent close;
    QCoreApplication::sendEvent(&m_form, &close);
    EXPECT_NE(movie->state(), QMovie::Running) << "hidden between videos, the picture stands still";
    m_form.show();
    EXPECT_EQ(movie->state() == QMovie::Running, m_form.loadingPicture()->isVisibleTo(&m_form));
}

TEST(VideoSurfaceTest, PicturesKeepTheirAspectCentred) {
    EXPECT_EQ(VideoSurface::fitted(QSize(640, 360), QRect(0, 0, 734, 462)), QRect(0, 25, 734, 412));
    EXPECT_EQ(VideoSurface::fitted(QSize(400, 400), QRect(0, 0, 734, 462)),
              QRect(136, 0, 462, 462));
    EXPECT_TRUE(VideoSurface::fitted(QSize(), QRect(0, 0, 10, 10)).isEmpty());
}

TEST(MediaModuleTest, PlayVideoCommandShowsTheWindowAndLoads) {
    QTemporaryDir dir;
    MediaModule media;
    media.videoForm()->controller().setCacheDir(dir.filePath(QStringLiteral("cache")));
    CommandRegistry registry;
    media.registerCommands(registry);
    ASSERT_TRUE(registry.contains(QStringLiteral("playvideo")));
    EXPECT_EQ(registry.IWebCallBack(QStringLiteral("playVideo"),
                                    QStringLiteral("{\"url\":\"\",\"title\":\"t\"}")),
              QStringLiteral("1"));
    EXPECT_TRUE(media.videoForm()->isVisible());
    EXPECT_EQ(media.videoForm()->windowTitle(), QStringLiteral("加载视频失败......."));

    Lifecycle lifecycle;
    media.addSteps(lifecycle);
    lifecycle.runExit(ExitStep::StopWorkers);
    lifecycle.runExit(ExitStep::HideWindows);
    EXPECT_FALSE(media.videoForm()->isVisible());
    EXPECT_TRUE(lifecycle.pendingWaits().isEmpty());
}

int videoWindows() {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        n += qobject_cast<TvdoForm*>(w) != nullptr;
    return n;
}

// The video window is made with the first video: not with the module, and not by the exit
// steps of a run that played none.
TEST(MediaModuleTest, TheWindowIsMadeWithTheFirstVideoOnly) {
    const int before = videoWindows();
    MediaModule media;
    Lifecycle lifecycle;
    media.addSteps(lifecycle);
    EXPECT_EQ(videoWindows(), before);
    lifecycle.runExit(ExitStep::StopWorkers);
    lifecycle.runExit(ExitStep::HideWindows);
    EXPECT_TRUE(lifecycle.pendingWaits().isEmpty());
    EXPECT_EQ(videoWindows(), before);

    TvdoForm* form = media.videoForm();
    EXPECT_EQ(videoWindows(), before + 1);
    EXPECT_EQ(media.videoForm(), form) << "made once, then reused";
}

} // namespace
