#pragma once

#include "core/SettingsStore.h"

#include <QDialog>
#include <QString>

class QPushButton;
class QWebEngineView;

namespace kovan {

// The terms window "用户需知": a terms page from the page server and the button
// "我已理解并接受以上内容", which sets a settings key to "1", saves the settings and closes the
// window. The button is enabled only once the page has loaded. The window knows nothing about
// what it guards: the chart launcher loads it with the chart terms and "ACCEPTCHARTTOS".
//
// 593 × 378, fixed, centred on the desktop; its page view has no script host. Created hidden
// at start-up and reused. GUI thread only.
class TtosForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int kWidth = 593;
    static constexpr int kHeight = 378;
    static constexpr int kWebHeight = 321;

    // An acceptance is recorded in `settings`, which outlives the window.
    explicit TtosForm(SettingsStore& settings, QWidget* parent = nullptr);

    // Prepares the window for one terms page: the button disabled, `skey` remembered, the page
    // loading. The caller then shows the window modally (showModal).
    void loadTosUrl(const QString& url, const QString& skey);
    // Shows the window modally; returns when it has closed: true after an acceptance.
    bool showModal();

    // Acceptance: `skey` := "1" in the settings, the settings file saved, the window closed.
    // A settings file that cannot be written leaves the window open (the value stays in
    // memory).
    void tosagtbtnClick();

    QWebEngineView* tosWeb() const { return m_tosWeb; }
    QPushButton* tosagtbtn() const { return m_tosagtbtn; }
    QWidget* RzPanel1() const { return m_RzPanel1; }
    const QString& settingsKey() const { return m_skey; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void tosWebDocumentComplete(bool ok);
    void RzPanel1Paint();

    SettingsStore& m_settings;
    QWebEngineView* m_tosWeb = nullptr;
    QWidget* m_RzPanel1 = nullptr;
    QPushButton* m_tosagtbtn = nullptr;
    QString m_skey;
};

} // namespace kovan
