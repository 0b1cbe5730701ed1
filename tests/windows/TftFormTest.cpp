// The lecture pop-up lives hidden for the whole run: nothing in it may tick until it shows.

#include "windows/TftForm.h"

#include <QCoreApplication>
#include <QLabel>
#include <QTimer>

#include <gtest/gtest.h>

using namespace kovan;

namespace {

bool anyTimerRunning(const QWidget& window) {
    for (const QTimer* t : window.findChildren<QTimer*>())
        if (t->isActive())
            return true;
    return false;
}

TEST(TftFormTest, ThePictureAnimatesOnlyWhileTheWindowShows) {
    TftForm form;
    const QLabel* picture = form.findChild<QLabel*>(QStringLiteral("Image1"));
    ASSERT_NE(picture, nullptr);
    EXPECT_FALSE(picture->pixmap().isNull()) << "the first frame is there before the first show";
    EXPECT_FALSE(form.animating());
    EXPECT_FALSE(anyTimerRunning(form));

    form.show();
    EXPECT_TRUE(form.animating());
    form.hide();
    EXPECT_FALSE(form.animating());
    EXPECT_FALSE(anyTimerRunning(form));
    form.show();
    EXPECT_TRUE(form.animating());
    form.close();
    EXPECT_FALSE(anyTimerRunning(form));
}

} // namespace
