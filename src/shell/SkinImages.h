#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

namespace kovan {

// The skin pictures, decoded once from the program's resources (":/skin/<NAME>.png") and held
// for the life of the process. On a screen scaled above 100 % a picture comes from its twin
// with twice the pixels (":/skin/<NAME>@2x.png", Qt's naming) with its device pixel ratio set,
// so it is drawn sharp at its logical size: at 200 % and above the twin as it is, in between
// the twin scaled down smoothly to the screen's resolution; never a 1× picture enlarged. Window
// shapes and colour keys are cut from the 1× pictures (load with ratio 1), as before. Loaded in two
// start-up steps: loadStartImages() (stars, folder pictures, the drop arrow) and loadSkin()
// (chrome, member, navigation, tab and loading pictures). GUI thread only (the ticker worker gets
// its own copies of the arrows).
class SkinImages {
public:
    // topImages by role (the number is the resource's, TOPIMG<n>). The caption buttons'
    // pictures 0–6 are named in CaptionButtons.
    static constexpr int kLogoPlate = 7;           // 161 × 85, rounded corner keyed out
    static constexpr int kTitleStrip = 8;          // title bar background
    static constexpr int kNavigationStrip = 9;     // navigation and service bars
    static constexpr int kDividerCollapsed = 11;   // divider arrow, right column hidden
    static constexpr int kDividerStrip = 12;       // divider background
    static constexpr int kPageTile = 13;           // 14 × 14 tile of pages and overlays
    static constexpr int kSectionHeaderStrip = 14; // section headers, content pane title
    static constexpr int kStatusStrip = 16;        // status band background
    static constexpr int kDividerExpanded = 18;    // divider arrow, right column shown
    static constexpr int kTickerUp = 22;           // rates ticker arrows
    static constexpr int kTickerDown = 23;
    // ibtnImages by role (IBTN<n>): the selected slices of a tab button (the group slices are
    // FilterGroup's).
    static constexpr int kPaneButtonLeft = 10;
    static constexpr int kPaneButtonMiddle = 11;
    static constexpr int kPaneButtonRight = 12;

    // ":/skin/<name>.png" (or ".gif" for the animated pictures).
    static QString resourcePath(const QString& name);
    // Decodes one resource picture for a screen of device pixel ratio `ratio` (see above); a
    // missing one gives a null image. Without a ratio: the application's (its screens'
    // highest).
    static QImage load(const QString& name);
    static QImage load(const QString& name, double ratio);
    // The ratio the skin is loaded at: the application's device pixel ratio.
    static double ratio();
    // A picture's file as the resources hold it (PNG, GIF for the animated "EARNGIF" and
    // "VDOLOAD"); empty when missing.
    static QByteArray encoded(const QString& name);

    void loadStartImages();
    void loadSkin();

    QList<QImage> topImages;            // TOPIMG0 … TOPIMG24
    QList<QImage> ibtnImages;           // IBTN0 … IBTN14
    QList<QImage> navButtonImages;      // NAVBTBG1, NAVBTBG2, NAVBTBG2 (index = button tag)
    QList<QImage> loadingFrames;        // BTLOAD0 … BTLOAD7
    QImage dropArrowImage;              // SORTBTN
    QImage star1, star2, star3;         // STAR1 … STAR3
    QImage folderClosed, folderOpen;    // FCLOSE, FOPEN
    QImage guestPicture, memberPicture; // LOGO1, LOGO2
    QImage speakerOn, speakerOff;       // AUDOPEN, AUDCLOSE
    QImage statusIcon;                  // STATUSICON
    QImage appIcon;                     // APPICON

    // Index into topImages, a null image when not loaded.
    QImage top(int index) const {
        return index >= 0 && index < topImages.size() ? topImages[index] : QImage();
    }
    QImage ibtn(int index) const {
        return index >= 0 && index < ibtnImages.size() ? ibtnImages[index] : QImage();
    }
};

// The program's one set.
SkinImages& skin();

} // namespace kovan
