#pragma once

#include "core/Endpoints.h"

#include <QList>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

class QLabel;
class QTimer;

namespace kovan {

class CommandRegistry;
class ContentTitleBar;
class HostWebView;
class PaneButton;

// The content pane: a page of the page server shown over the middle column on demand, with a
// title bar, "返回" and "刷新", and a loading overlay animated every 100 ms until the page
// completes. It fills the main window's ConBgPae container and places that container over the
// middle column when shown. GUI thread only.
class ContentPane : public QWidget {
    Q_OBJECT
public:
    // `host`: ConBgPae (hidden at start); `middleColumn`: bgMPae, whose place it covers.
    // `endpoints` (its page server serves the pane's pages) outlives the pane.
    ContentPane(QWidget* host, QWidget* middleColumn, const Endpoints& endpoints);

    // The page bridge in ConWeb (start-up).
    void attachScriptHost(CommandRegistry& registry);

    // Opens the page-server page "/tools/" + _params with the title `_ktitle`. `staytitle` and
    // `destory` are accepted for the callers' sake and have no effect.
    void showoptPage(const QString& _ktitle, const QString& _params, qint64 staytitle = 0,
                     const QString& destory = QString());
    // forcetitle: the title bar caption, exactly as given.
    void setTitle(const QString& title);
    QString title() const;
    // The address last opened (for "刷新").
    QString contentUrl() const { return m_contentUrl; }

    // "返回": hides the pane and empties ConWeb. Also what a section change does.
    void ConBackBtClick();
    // "刷新": the loading picture again and contentUrl loaded afresh.
    void ConRefrBtClick();
    void ConWebDocumentComplete();
    // Hides the pane (a section change), leaving contentUrl for a later refresh.
    void hidePane();
    bool paneVisible() const;

    // Places the host over the middle column: (2, top of the middle column), one column wide
    // less 2, as high as the middle column. Follows the column while the pane is shown.
    void placeOverMiddleColumn();
    static QRect paneGeometry(const QRect& middleColumnInParent);

    // Skin pictures (stand-ins are drawn until these are set).
    void setLoadingFrames(const QList<QPixmap>& frames);
    void setTitleImage(const QPixmap& image);
    void setButtonImages(const QPixmap& left, const QPixmap& middle, const QPixmap& right);

    HostWebView* ConWeb() const { return m_ConWeb; }
    QWidget* ConLDPae() const { return m_ConLDPae; }
    QTimer* Timer5() const { return m_Timer5; }
    PaneButton* ConBackBt() const { return m_ConBackBt; }
    PaneButton* ConRefrBt() const { return m_ConRefrBt; }
    ContentTitleBar* ConTopPae() const { return m_ConTopPae; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Timer5Timer();
    void layoutBody();

    const Endpoints& m_endpoints;
    QPointer<QWidget> m_host;
    QPointer<QWidget> m_middleColumn;
    ContentTitleBar* m_ConTopPae = nullptr;
    PaneButton* m_ConBackBt = nullptr;
    PaneButton* m_ConRefrBt = nullptr;
    QWidget* m_body = nullptr;
    HostWebView* m_ConWeb = nullptr;
    QWidget* m_ConLDPae = nullptr;
    QLabel* m_Image2 = nullptr;
    QTimer* m_Timer5 = nullptr;
    int m_timer5Tag = 0;
    QList<QPixmap> m_loadingFrames;
    QString m_contentUrl;
};

} // namespace kovan
