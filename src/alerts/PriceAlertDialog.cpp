#include "alerts/PriceAlertDialog.h"

#include "alerts/AlertCrossing.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace kovan {

PriceAlertDialog::PriceAlertDialog(Quotes quotes, Submit submit, QWidget* parent)
    : QDialog(parent), m_quotes(std::move(quotes)), m_submit(std::move(submit)) {
    setObjectName(QStringLiteral("PriceAlertDialog"));
    setModal(false);
    build();
    m_refresh.setInterval(1000);
    connect(&m_refresh, &QTimer::timeout, this, &PriceAlertDialog::refreshQuotes);
}

void PriceAlertDialog::build() {
    m_symbol = new QComboBox(this);
    m_bid = new QLabel(this);
    m_price = new QDoubleSpinBox(this);
    m_price->setRange(0, 1e12);
    m_condition = new QComboBox(this);
    m_condition->addItem(conditionText(AlertDirection::Rise), int(AlertDirection::Rise));
    m_condition->addItem(conditionText(AlertDirection::Fall), int(AlertDirection::Fall));
    m_note = new QLineEdit(this);
    m_note->setMaxLength(int(PriceAlert::kMaxNoteLength));
    m_repeat = new QCheckBox(QStringLiteral("重复提醒（回到起始一侧后再次提醒）"), this);
    m_message = new QLabel(this);
    m_message->setStyleSheet(QStringLiteral("color: #C00000"));
    m_message->setWordWrap(true);
    m_message->hide();

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("品种"), m_symbol);
    form->addRow(QStringLiteral("当前买价"), m_bid);
    form->addRow(QStringLiteral("条件"), m_condition);
    form->addRow(QStringLiteral("价格"), m_price);
    form->addRow(QStringLiteral("备注"), m_note);
    form->addRow(QString(), m_repeat);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_message);
    layout->addWidget(buttons);
    setMinimumWidth(360);

    connect(buttons, &QDialogButtonBox::accepted, this, &PriceAlertDialog::confirm);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // A new alert starts at the bid of the symbol picked; an edited one keeps its price.
    connect(m_symbol, &QComboBox::currentIndexChanged, this,
            [this] { applySymbol(m_editing == 0); });
    connect(m_price, &QDoubleSpinBox::valueChanged, this, &PriceAlertDialog::showBidAndCondition);
}

void PriceAlertDialog::fillSymbols(const QString& select) {
    m_table = m_quotes ? m_quotes() : std::vector<SymbolQuote>();
    const QSignalBlocker block(m_symbol);
    m_symbol->clear();
    for (const SymbolQuote& q : m_table)
        m_symbol->addItem(q.label(), q.code);
    m_symbol->setCurrentIndex(select.isEmpty() ? 0 : m_symbol->findData(select));
}

const SymbolQuote* PriceAlertDialog::currentQuote() const {
    const int i = m_symbol->currentIndex();
    return i >= 0 && i < int(m_table.size()) ? &m_table[size_t(i)] : nullptr;
}

void PriceAlertDialog::applySymbol(bool startAtBid) {
    if (const SymbolQuote* q = currentQuote()) {
        m_price->setDecimals(q->decimals);
        m_price->setSingleStep(q->minpip > 0 ? q->minpip : std::pow(10.0, -q->decimals));
        if (q->bid && startAtBid)
            m_price->setValue(*q->bid);
    }
    showBidAndCondition();
}

void PriceAlertDialog::showBidAndCondition() {
    const SymbolQuote* q = currentQuote();
    m_bid->setText(q && q->bid ? q->bidText : QStringLiteral("尚无买价"));
    const bool pick = !q || !q->bid;
    m_condition->setEnabled(pick);
    if (pick) {
        if (m_condition->currentIndex() < 0)
            m_condition->setCurrentIndex(0);
        return;
    }
    const double price = roundToPip(m_price->value(), q->minpip, q->decimals);
    const std::optional<AlertDirection> d = directionFromBid(price, *q->bid);
    m_condition->setCurrentIndex(d ? m_condition->findData(int(*d)) : -1);
}

void PriceAlertDialog::refreshQuotes() {
    const QString code = m_symbol->currentData().toString();
    const double price = m_price->value();
    fillSymbols(code);
    applySymbol(false);
    m_price->setValue(price);
}

void PriceAlertDialog::openNew(const QString& symbol, double price, const QString& note) {
    m_editing = 0;
    m_enabled = true;
    setWindowTitle(QStringLiteral("添加价格提醒"));
    fillSymbols(symbol);
    applySymbol(true);
    if (std::isfinite(price) && price > 0)
        m_price->setValue(price);
    m_note->setText(cutNote(note));
    m_repeat->setChecked(false);
    showMessage(QString());
    showBidAndCondition();
    show();
    raise();
    activateWindow();
}

void PriceAlertDialog::openEdit(const PriceAlert& alert) {
    m_editing = alert.id;
    m_enabled = alert.enabled;
    setWindowTitle(QStringLiteral("编辑价格提醒"));
    fillSymbols(alert.symbol);
    applySymbol(false);
    m_price->setValue(alert.price);
    m_condition->setCurrentIndex(m_condition->findData(int(alert.direction)));
    m_note->setText(alert.note);
    m_repeat->setChecked(alert.repeat);
    showMessage(QString());
    showBidAndCondition();
    show();
    raise();
    activateWindow();
}

AlertDraft PriceAlertDialog::draft() const {
    AlertDraft d;
    d.id = m_editing;
    d.symbol = m_symbol->currentData().toString();
    d.price = m_price->value();
    if (m_condition->isEnabled() && m_condition->currentIndex() >= 0)
        d.chosenDirection = AlertDirection(m_condition->currentData().toInt());
    d.note = m_note->text();
    d.repeat = m_repeat->isChecked();
    d.enabled = m_enabled;
    return d;
}

QString PriceAlertDialog::message() const {
    return m_message->isHidden() ? QString() : m_message->text();
}

void PriceAlertDialog::showMessage(const QString& text) {
    m_message->setText(text);
    m_message->setVisible(!text.isEmpty());
}

void PriceAlertDialog::confirm() {
    const QString refusal = m_submit ? m_submit(draft()) : QString();
    showMessage(refusal);
    if (refusal.isEmpty())
        accept();
}

void PriceAlertDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_refresh.start();
}

void PriceAlertDialog::hideEvent(QHideEvent* event) {
    m_refresh.stop();
    QDialog::hideEvent(event);
}

} // namespace kovan
