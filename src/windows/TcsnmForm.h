#pragma once

#include <QWidget>

class QWebEngineView;

namespace kovan {

// The plain web window: one page in a fixed 994 × 772 frame with its own taskbar entry. Its view
// has no script host, so its pages cannot call client commands. Created hidden at start-up and
// kept for the whole run; closing hides it and empties the page. GUI thread only.
class TcsnmForm : public QWidget {
    Q_OBJECT
public:
    explicit TcsnmForm(QWidget* parent = nullptr);

    // Caption `_title` ("请稍候..." when empty), navWeb loads `_url`, the window comes to the
    // front.
    void shownormalwindow(const QString& _title, const QString& _url);

    QWebEngineView* navWeb() const { return m_navWeb; }

    static QString captionFor(const QString& title);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWebEngineView* m_navWeb = nullptr;
};

} // namespace kovan
