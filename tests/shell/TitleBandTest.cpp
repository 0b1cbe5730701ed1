// The main window's top band on a bare window: the user label and the caption buttons in the
// title bar, maximising, the member picture.

#include "WaitUntil.h"

#include "shell/SkinImages.h"
#include "shell/TitleBand.h"

#include <QLabel>
#include <QScreen>

#include <gtest/gtest.h>

namespace kovan {
namespace {

using kovan::test::waitUntil;

class ShellTitleBandTest : public ::testing::Test {
protected:
    ShellTitleBandTest() {
        skin().loadStartImages();
        skin().loadSkin();
        window.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
        window.resize(920, 585);
        TitleBand::Callbacks callbacks;
        callbacks.logIMGClicked = [this] { ++logins; };
        band = new TitleBand(&window, std::move(callbacks));
        band->applySkin();
        band->layoutBand({0, 0, 920, 85});
        window.show();
    }
    SkinPanel* panel(const char* name) const {
        return window.findChild<SkinPanel*>(QString::fromLatin1(name));
    }

    QWidget window;
    TitleBand* band = nullptr;
    int logins = 0;
};

TEST_F(ShellTitleBandTest, MaximiseThenRestore) {
    const QRect before = window.geometry();
    band->MaxImgClick();
    EXPECT_EQ(band->captionButtons().maxTag(), 1);
    EXPECT_EQ(band->captionButtons().maxImage(), 5);
    const QScreen* screen = window.screen();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(window.width(), screen->geometry().width());
    EXPECT_EQ(window.height(), screen->availableGeometry().height());
    band->MaxImgClick();
    EXPECT_EQ(window.geometry(), before);
    EXPECT_EQ(band->captionButtons().maxImage(), 3);
    band->MaxImgMouseLeave();
    EXPECT_EQ(band->captionButtons().maxImage(), 3);
    band->MaxImgMouseEnter();
    EXPECT_EQ(band->captionButtons().maxImage(), 4);
}

TEST_F(ShellTitleBandTest, TitleBarLabelAndCaptionButtons) {
    QWidget* buttons = window.findChild<QWidget*>("RzPanel1");
    ASSERT_NE(buttons, nullptr);
    QLabel* label = band->topUNLab();
    EXPECT_EQ(label->text(), "    访客    ");
    label->setText(QStringLiteral("    1234567890    "));
    ASSERT_TRUE(waitUntil([&] { return label->width() >= label->sizeHint().width(); }));
    EXPECT_EQ(label->x(), 0);
    EXPECT_EQ(buttons->geometry(), QRect(759 - 100, 0, 100, 31));
    EXPECT_EQ(panel("ClsImg")->geometry(), QRect(64, 0, 42, 19));
}

TEST_F(ShellTitleBandTest, MemberPicture) {
    SkinPanel* logo = band->logIMG();
    EXPECT_EQ(logo->tag(), 0);
    band->setMemberPicture(true);
    EXPECT_EQ(logo->tag(), 1);
    band->setMemberPicture(false);
    EXPECT_EQ(logo->tag(), 0);
}

TEST_F(ShellTitleBandTest, MemberStateReportedByTheMemberPart) {
    SkinPanel* logo = band->logIMG();
    EXPECT_EQ(band->logIMGPicture(), skin().guestPicture);

    // A member: LOGO2, Tag 1, deaf to the mouse; the label shows the UID.
    band->setMemberState(true, QStringLiteral("    20001    "));
    EXPECT_EQ(logo->tag(), 1);
    EXPECT_EQ(band->logIMGPicture(), skin().memberPicture);
    EXPECT_EQ(band->topUNLab()->text(), QStringLiteral("    20001    "));
    Q_EMIT logo->left();
    EXPECT_EQ(band->logIMGPicture(), skin().memberPicture);
    Q_EMIT logo->clicked();
    EXPECT_EQ(logins, 0);

    // Back to the guest: LOGO1, Tag 0, hover shows LOGO2, a click asks for the login dialog.
    band->setMemberState(false, QStringLiteral("    访客    "));
    EXPECT_EQ(logo->tag(), 0);
    EXPECT_EQ(band->logIMGPicture(), skin().guestPicture);
    EXPECT_EQ(band->topUNLab()->text(), QStringLiteral("    访客    "));
    Q_EMIT logo->entered();
    EXPECT_EQ(band->logIMGPicture(), skin().memberPicture);
    Q_EMIT logo->left();
    EXPECT_EQ(band->logIMGPicture(), skin().guestPicture);
    Q_EMIT logo->clicked();
    EXPECT_EQ(logins, 1);
}

} // namespace
} // namespace kovan
