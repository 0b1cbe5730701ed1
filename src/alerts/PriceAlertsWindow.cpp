#include "alerts/PriceAlertsWindow.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kovan {

PriceAlertsWindow::PriceAlertsWindow(Source source, QWidget* parent)
    : QWidget(parent, Qt::Window), m_source(std::move(source)) {
    setObjectName(QStringLiteral("PriceAlertsWindow"));
    setWindowTitle(QStringLiteral("价格提醒"));
    resize(760, 360);
    m_table = new QTableWidget(0, 7, this);
    m_table->setHorizontalHeaderLabels({QStringLiteral("品种"), QStringLiteral("条件"),
                                        QStringLiteral("价格"), QStringLiteral("当前买价"),
                                        QStringLiteral("备注"), QStringLiteral("方式"),
                                        QStringLiteral("状态")});
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);

    auto* add = new QPushButton(QStringLiteral("添加…"), this);
    m_edit = new QPushButton(QStringLiteral("编辑…"), this);
    m_remove = new QPushButton(QStringLiteral("删除"), this);
    m_enable = new QPushButton(QStringLiteral("停用"), this);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {add, m_edit, m_remove, m_enable})
        buttons->addWidget(b);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addLayout(buttons);

    connect(add, &QPushButton::clicked, this, &PriceAlertsWindow::addClicked);
    connect(m_edit, &QPushButton::clicked, this, &PriceAlertsWindow::editClicked);
    connect(m_remove, &QPushButton::clicked, this, &PriceAlertsWindow::removeClicked);
    connect(m_enable, &QPushButton::clicked, this, &PriceAlertsWindow::enableClicked);
    connect(m_table, &QTableWidget::itemSelectionChanged, this,
            &PriceAlertsWindow::selectionChanged);
    connect(m_table, &QTableWidget::cellDoubleClicked, this, [this] { editClicked(); });
    m_refresh.setInterval(1000);
    connect(&m_refresh, &QTimer::timeout, this, &PriceAlertsWindow::refresh);
    selectionChanged();
}

void PriceAlertsWindow::refresh() {
    const std::optional<qint64> keep = selected();
    std::vector<std::pair<PriceAlert, AlertRow>> rows;
    if (m_source.rows)
        rows = m_source.rows();
    m_alerts.clear();
    const QSignalBlocker block(m_table);
    m_table->setRowCount(int(rows.size()));
    for (int r = 0; r < int(rows.size()); ++r) {
        const auto& [alert, row] = rows[size_t(r)];
        m_alerts.push_back(alert);
        const QString cells[] = {row.name, row.condition, row.price, row.bid,
                                 row.note, row.mode,      row.state};
        for (int c = 0; c < 7; ++c) {
            QTableWidgetItem* item = m_table->item(r, c);
            if (!item) {
                item = new QTableWidgetItem;
                m_table->setItem(r, c, item);
            }
            item->setText(cells[c]);
        }
    }
    m_table->clearSelection();
    if (keep)
        select(*keep);
    selectionChanged();
}

void PriceAlertsWindow::showWindow() {
    refresh();
    show();
    raise();
    activateWindow();
}

std::optional<qint64> PriceAlertsWindow::selected() const {
    const QList<QTableWidgetItem*> items = m_table->selectedItems();
    if (items.isEmpty())
        return std::nullopt;
    const int r = items.first()->row();
    return r >= 0 && r < int(m_alerts.size()) ? std::optional(m_alerts[size_t(r)].id)
                                              : std::nullopt;
}

void PriceAlertsWindow::select(qint64 id) {
    for (int r = 0; r < int(m_alerts.size()); ++r)
        if (m_alerts[size_t(r)].id == id)
            m_table->selectRow(r);
}

void PriceAlertsWindow::selectionChanged() {
    const std::optional<qint64> id = selected();
    m_edit->setEnabled(id.has_value());
    m_remove->setEnabled(id.has_value());
    m_enable->setEnabled(id.has_value());
    bool enabled = true;
    for (const PriceAlert& a : m_alerts)
        if (id && a.id == *id)
            enabled = a.enabled;
    m_enable->setText(enabled ? QStringLiteral("停用") : QStringLiteral("启用"));
}

void PriceAlertsWindow::addClicked() {
    if (m_source.add)
        m_source.add();
}

void PriceAlertsWindow::editClicked() {
    if (const std::optional<qint64> id = selected(); id && m_source.edit)
        m_source.edit(*id);
}

void PriceAlertsWindow::removeClicked() {
    if (const std::optional<qint64> id = selected(); id && m_source.remove)
        m_source.remove(*id);
}

void PriceAlertsWindow::enableClicked() {
    const std::optional<qint64> id = selected();
    if (!id || !m_source.setEnabled)
        return;
    for (const PriceAlert& a : m_alerts)
        if (a.id == *id) {
            m_source.setEnabled(a.id, !a.enabled);
            return;
        }
}

void PriceAlertsWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_refresh.start();
}

void PriceAlertsWindow::hideEvent(QHideEvent* event) {
    m_refresh.stop();
    QWidget::hideEvent(event);
}

} // namespace kovan
