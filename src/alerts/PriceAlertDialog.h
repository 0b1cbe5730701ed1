#pragma once

#include "alerts/AlertDraft.h"
#include "alerts/SymbolQuote.h"

#include <QDialog>
#include <QTimer>

#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;

namespace kovan {

// The add / edit dialog of a price alert ("添加价格提醒" / "编辑价格提醒"), not modal: the
// symbol from the synced table, the price (on the symbol's grid, starting at its bid for a new
// alert), the condition (from the bid; the member picks it only while the symbol has no bid),
// a note of at most 200 characters and "重复提醒". "确定" hands the draft to `submit`, which
// answers why it refused (shown in the dialog, which stays open) or the empty text (the dialog
// closes). While shown, the bid and the condition follow the sync tables once a second.
//
// GUI thread only. The rules are AlertDraft's; this class only shows them.
class PriceAlertDialog : public QDialog {
    Q_OBJECT
public:
    using Quotes = std::function<std::vector<SymbolQuote>()>;
    using Submit = std::function<QString(const AlertDraft& draft)>;

    PriceAlertDialog(Quotes quotes, Submit submit, QWidget* parent = nullptr);

    // A new alert of `symbol` (empty: the first symbol) at `price` (not a positive number: the
    // symbol's bid) with `note`.
    void openNew(const QString& symbol, double price, const QString& note);
    // The alert `alert` to edit (confirming arms it again).
    void openEdit(const PriceAlert& alert);

    // What the member has filled in.
    AlertDraft draft() const;
    // The refusal on show (empty when none).
    QString message() const;

    // "确定", callable directly.
    void confirm();

    QComboBox* symbolBox() const { return m_symbol; }
    QDoubleSpinBox* priceBox() const { return m_price; }
    QComboBox* conditionBox() const { return m_condition; }
    QLineEdit* noteEdit() const { return m_note; }
    QCheckBox* repeatBox() const { return m_repeat; }
    QLabel* bidLabel() const { return m_bid; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void build();
    void fillSymbols(const QString& select);
    const SymbolQuote* currentQuote() const;
    // Decimals and step of the symbol picked; a new alert's price moves to its bid.
    void applySymbol(bool startAtBid);
    void showBidAndCondition();
    void refreshQuotes();
    void showMessage(const QString& text);

    Quotes m_quotes;
    Submit m_submit;
    std::vector<SymbolQuote> m_table; // the symbols as last read
    qint64 m_editing = 0;             // the alert being edited; 0: a new one
    bool m_enabled = true;            // an edited alert keeps its switch
    QTimer m_refresh;                 // 1 s, while shown

    QComboBox* m_symbol = nullptr;
    QLabel* m_bid = nullptr;
    QDoubleSpinBox* m_price = nullptr;
    QComboBox* m_condition = nullptr;
    QLineEdit* m_note = nullptr;
    QCheckBox* m_repeat = nullptr;
    QLabel* m_message = nullptr;
};

} // namespace kovan
