#pragma once

#include <QWidget>

namespace kovan {

// The corner pop-up that presents notices. Created hidden at start-up and kept for the whole
// run. GUI thread only.
class TrbMsgForm : public QWidget {
    Q_OBJECT
public:
    explicit TrbMsgForm(QWidget* parent = nullptr);

    // Shows the newest notice, when there is one.
    void showNewest();
};

} // namespace kovan
