#pragma once

#include <QWidget>

#include <functional>

namespace kovan {

// `posPae`: the thin bar under the video. Grey, the downloaded part in the active caption
// colour, the played part in #309DE9; a click reports its x. The figures come from `figures`
// at paint time. GUI thread only.
class PosPae : public QWidget {
    Q_OBJECT
public:
    struct Figures {
        qint64 mediaSize = 0, mediaDown = 0, playDuat = 0, duration = 0;
    };

    explicit PosPae(std::function<Figures()> figures, QWidget* parent = nullptr);

Q_SIGNALS:
    void clicked(int x, int width);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::function<Figures()> m_figures;
};

} // namespace kovan
