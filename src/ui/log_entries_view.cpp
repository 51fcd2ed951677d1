#include "log_entries_view.h"

#include "named_control.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>
#include <array>
#include <map>

namespace dcf::ui {
namespace {

enum Column { Line, Type, Record, Report, Outcome, Step, Message, Input, ColumnCount };

constexpr std::array<log::EntryOutcome, 4> kOutcomes = {
    log::EntryOutcome::Corrected, log::EntryOutcome::NotImported, log::EntryOutcome::Failed,
    log::EntryOutcome::RunFailed};

QString text(std::string_view value) {
    return QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
}

QStandardItem* cell(std::string_view value) {
    auto* item = new QStandardItem(text(value));
    item->setEditable(false);
    return item;
}

QList<QStandardItem*> tableRow(const log::Entry& entry) {
    auto* line = new QStandardItem();
    line->setEditable(false);
    // A number, so that line 10 sorts after line 9; a failure of the run
    // itself has none.
    if (entry.record.lineNumber) {
        line->setData(QVariant::fromValue<qlonglong>(*entry.record.lineNumber), Qt::DisplayRole);
    }
    return {line,
            cell(entry.record.type),
            cell(entry.record.number),
            cell(entry.record.reportNumber),
            cell(log::outcomeText(entry.outcome)),
            cell(entry.step),
            cell(entry.message),
            cell(entry.record.input)};
}

} // namespace

LogEntriesView::LogEntriesView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("logEntries"));
    // It lies over the counters: none of them may show through.
    setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* header = new QHBoxLayout();
    counts_ = named(new QLabel(this), "lblLogEntryCounts");
    outcome_ = named(new QComboBox(this), "cboLogEntryOutcome");
    header->addWidget(counts_, 1);
    header->addWidget(outcome_);
    layout->addLayout(header);

    model_ = new QStandardItemModel(0, ColumnCount, this);
    model_->setHorizontalHeaderLabels({tr("Line"), tr("Type"), tr("Record"), tr("Report"),
                                       tr("Outcome"), tr("Step"), tr("Message"),
                                       tr("Input record")});
    shown_ = new QSortFilterProxyModel(this);
    shown_->setSourceModel(model_);
    shown_->setFilterKeyColumn(Outcome);
    table_ = named(new QTableView(this), "grdLogEntries");
    table_->setModel(shown_);
    table_->setSortingEnabled(true);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setWordWrap(false);
    table_->verticalHeader()->setVisible(false);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(table_, 1);

    auto* copy = new QAction(tr("&Copy Input Record"), table_);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    connect(copy, &QAction::triggered, this, &LogEntriesView::copySelectedInputRecords);
    table_->addAction(copy);
    table_->setContextMenuPolicy(Qt::ActionsContextMenu);

    connect(outcome_, &QComboBox::currentIndexChanged, this, [this](int index) {
        const QVariant chosen = outcome_->itemData(index);
        filterByOutcome(chosen.isValid()
                            ? std::optional(static_cast<log::EntryOutcome>(chosen.toInt()))
                            : std::nullopt);
    });
}

void LogEntriesView::showEntries(const std::vector<log::Entry>& entries) {
    model_->removeRows(0, model_->rowCount());
    std::map<log::EntryOutcome, int> counted;
    for (const log::Entry& entry : entries) {
        model_->appendRow(tableRow(entry));
        ++counted[entry.outcome];
    }
    QStringList counts;
    const QSignalBlocker quiet(outcome_);
    outcome_->clear();
    outcome_->addItem(tr("All outcomes (%1)").arg(entries.size()));
    for (const log::EntryOutcome outcome : kOutcomes) {
        const QString name = text(log::outcomeText(outcome));
        counts << QStringLiteral("%1 %2").arg(counted[outcome]).arg(name);
        outcome_->addItem(QStringLiteral("%1 (%2)").arg(name).arg(counted[outcome]),
                          static_cast<int>(outcome));
    }
    counts_->setText(counts.join(QStringLiteral(", ")));
    filterByOutcome(std::nullopt);
    table_->sortByColumn(Line, Qt::AscendingOrder);
    table_->resizeColumnsToContents();
}

void LogEntriesView::filterByOutcome(std::optional<log::EntryOutcome> outcome) {
    const int index = outcome ? outcome_->findData(static_cast<int>(*outcome)) : 0;
    if (outcome_->currentIndex() != index) {
        const QSignalBlocker quiet(outcome_);
        outcome_->setCurrentIndex(index);
    }
    // The whole cell: "failed" must not match "run failed".
    shown_->setFilterRegularExpression(
        outcome ? QRegularExpression(QStringLiteral("^") +
                                     QRegularExpression::escape(text(log::outcomeText(*outcome))) +
                                     QStringLiteral("$"))
                : QRegularExpression());
}

QString LogEntriesView::selectedInputRecords() const {
    QStringList records;
    QModelIndexList rows = table_->selectionModel()->selectedRows(Input);
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    for (const QModelIndex& row : rows) {
        records << row.data().toString();
    }
    return records.join(QLatin1Char('\n'));
}

void LogEntriesView::copySelectedInputRecords() const {
    const QString records = selectedInputRecords();
    if (!records.isEmpty()) {
        QApplication::clipboard()->setText(records);
    }
}

} // namespace dcf::ui
