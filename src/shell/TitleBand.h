#pragma once

#include "shell/CaptionButtons.h"
#include "shell/SkinPanel.h"

#include <QImage>
#include <QList>
#include <QRegion>

#include <functional>
#include <optional>

class QLabel;

namespace kovan {

// bgTPae, the main window's 85 px top band: the logo plate with the member picture (logIMG)
// and "会员", the title bar with the user label (topUNLab) and the minimise, maximise and close
// pictures, and below it the navigation bar (RzPanel5) and the service bar (RzPanel6), which the
// section area fills. The plate and the title bar drag the window; a double click on the title
// bar and the maximise picture toggle its maximised bounds (CaptionButtons). The other clicks
// report through Callbacks.
//
// A child of the main window. GUI thread only.
class TitleBand : public SkinPanel {
    Q_OBJECT
public:
    // What the band's clicks reach; any may be empty.
    struct Callbacks {
        std::function<void()> minImgClicked;   // the minimise picture
        std::function<void()> ClsImgClicked;   // the close picture
        std::function<void()> topUNLabClicked; // the user label: the member centre
        std::function<void()> logIMGClicked;   // the member picture while it shows the guest
    };

    TitleBand(QWidget* window, Callbacks callbacks);

    // The band's panels that lie along the window's edges (for the resize zones).
    QList<QWidget*> edgePanels();
    SkinPanel* navigationBar() const { return m_RzPanel5; }
    SkinPanel* serviceBar() const { return m_RzPanel6; }

    // The user label ("    访客    " until a session is known).
    QLabel* topUNLab() const { return m_topUNLab; }

    // The member picture: guest (LOGO1, reacts to the mouse) or member (LOGO2, Tag 1).
    void setMemberPicture(bool member);
    SkinPanel* logIMG() const { return m_logIMG; }
    const QImage& logIMGPicture() const { return m_logIMGPicture; }
    // The member state the member part reports: the picture, and the user label's text.
    void setMemberState(bool member, const QString& userLabel);

    // A fresh skin: the caption pictures at rest, the guest picture.
    void applySkin();
    const CaptionButtons& captionButtons() const { return m_caption; }

    // Places the band at `bounds` (window coordinates) and its parts across its width.
    void layoutBand(const QRect& bounds);
    // The logo plate's key-coloured corner in window coordinates, the part of the window that
    // stays see-through; none while the plate picture is missing.
    std::optional<QRegion> logoCutOut() const;

    // The maximise picture: clicked (also a double click on the title bar), hovered.
    void MaxImgClick();
    void MaxImgMouseEnter();
    void MaxImgMouseLeave();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLogo();
    void buildTitleBar(QWidget* parent);
    void buildCaptionButtons();
    void startWindowMove(QMouseEvent* event);
    void showHoverPicture(bool hovered);

    Callbacks m_callbacks;
    CaptionButtons m_caption;

    SkinPanel* m_logoPae = nullptr;
    SkinPanel* m_logIMG = nullptr;
    QImage m_logIMGPicture;
    QLabel* m_RzLabel1 = nullptr;
    QWidget* m_RzPanel2 = nullptr;
    SkinPanel* m_topPae2 = nullptr;
    QLabel* m_topUNLab = nullptr;
    QWidget* m_RzPanel1 = nullptr;
    SkinPanel* m_minImg = nullptr;
    SkinPanel* m_MaxImg = nullptr;
    SkinPanel* m_ClsImg = nullptr;
    SkinPanel* m_RzPanel5 = nullptr;
    SkinPanel* m_RzPanel6 = nullptr;
};

} // namespace kovan
