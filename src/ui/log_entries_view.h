#pragma once

#include "log/log_entries.h"

#include <QWidget>
#include <optional>
#include <vector>

class QComboBox;
class QLabel;
class QSortFilterProxyModel;
class QStandardItemModel;
class QTableView;

namespace dcf::ui {

// The conversion log's entries as a table beside the log's text: one row an
// entry, sortable by any column (by line at first), filtered by outcome, the
// counts of each outcome above it. Copy (Ctrl+C, or the table's menu) puts
// the selected rows' input records on the clipboard, one a line.
class LogEntriesView : public QWidget {
    Q_OBJECT

public:
    explicit LogEntriesView(QWidget* parent = nullptr);

    void showEntries(const std::vector<log::Entry>& entries);
    // Only the entries of this outcome; nothing shows all.
    void filterByOutcome(std::optional<log::EntryOutcome> outcome);
    // The input records of the selected rows, one a line, as copied.
    [[nodiscard]] QString selectedInputRecords() const;
    void copySelectedInputRecords() const;

private:
    QLabel* counts_ = nullptr;
    QComboBox* outcome_ = nullptr;
    QTableView* table_ = nullptr;
    QStandardItemModel* model_ = nullptr;
    QSortFilterProxyModel* shown_ = nullptr;
};

} // namespace dcf::ui
