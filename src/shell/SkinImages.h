#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

namespace kovan {

// The skin pictures, decoded once from the program's resources (":/skin/<NAME>.png") and held
// for the life of the process. Loaded in two start-up steps: loadStartImages() (stars, folder
// pictures, the drop arrow) and loadSkin() (chrome, member, navigation, tab and loading
// pictures). GUI thread only (the ticker worker gets its own copies of the arrows).
class SkinImages {
public:
    // ":/skin/<name>.png" (or ".gif" for the animated pictures).
    static QString resourcePath(const QString& name);
    // Decodes one resource picture; a missing one gives a null image.
    static QImage load(const QString& name);
    // The raw bytes of an animated picture ("EARNGIF", "VDOLOAD").
    static QByteArray animation(const QString& name);

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
