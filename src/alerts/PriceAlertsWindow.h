#pragma once

#include "alerts/AlertRows.h"
#include "alerts/PriceAlert.h"

#include <QTimer>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

class QPushButton;
class QTableWidget;

namespace kovan {

// The alerts window "价格提醒": a table of the member's alerts (品种, 条件, 价格, 当前买价, 备注,
// 方式, 状态) with "添加…", "编辑…", "删除" and "启用" / "停用" for the selected one (a double
// click edits too). A top-level window of its own; opened from the tray menu and the charts'
// menus. While shown the table follows the alerts and the bids once a second.
//
// GUI thread only. What it shows and does comes through Source; AlertRows holds the texts.
class PriceAlertsWindow : public QWidget {
    Q_OBJECT
public:
    struct Source {
        // The alerts and, for each, its row (with the symbol as synced now).
        std::function<std::vector<std::pair<PriceAlert, AlertRow>>()> rows;
        std::function<void()> add;
        std::function<void(qint64 id)> edit;
        std::function<void(qint64 id)> remove;
        std::function<void(qint64 id, bool enabled)> setEnabled;
    };

    explicit PriceAlertsWindow(Source source, QWidget* parent = nullptr);

    // Reads the rows again, keeping the selection.
    void refresh();
    void showWindow();

    // The selected alert's id.
    std::optional<qint64> selected() const;
    void select(qint64 id);

    // The buttons' handlers, callable directly.
    void addClicked();
    void editClicked();
    void removeClicked();
    void enableClicked();

    QTableWidget* table() const { return m_table; }
    QPushButton* enableButton() const { return m_enable; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void selectionChanged();

    Source m_source;
    std::vector<PriceAlert> m_alerts; // in the rows' order
    QTimer m_refresh;                 // 1 s, while shown
    QTableWidget* m_table = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_remove = nullptr;
    QPushButton* m_enable = nullptr;
};

} // namespace kovan
