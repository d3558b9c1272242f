// The column-header click of the mailbox list: arrow, saved sort state and the sort.
#include "mailbox/frmMain.h"

#include "mailbox/MailListModel.h"

namespace kesto::ui {

void frmMain::ListView1_ColumnClick(int column) {
    // Only the clicked column keeps an arrow.
    for (int c = 1; c <= MailListModel::ColumnCount; ++c)
        if (c != column) model_->SetHeaderIcon(c - 1, QString());

    kesto::LiveViewState& live = s_.live;
    if (live.SortedColumn != column) live.SortOrder = 1;
    live.SortedColumn = static_cast<std::int16_t>(column);
    if (column < 1 || column > MailListModel::ColumnCount) return;

    if (live.SortOrder != 0) {
        live.SortOrder = 0;
        model_->SetHeaderIcon(column - 1, QStringLiteral("up"));
    } else {
        live.SortOrder = 1;
        model_->SetHeaderIcon(column - 1, QStringLiteral("down"));
    }
    // "Date" orders by message number: the date texts do not sort chronologically.
    const int key = column == 5 ? 2 : column;
    const bool numeric = column == 2 || column == 5 || column == 6;
    SortColumn(key, live.SortOrder, numeric);
}

bool frmMain::SortColumn(int column, int direction, bool numeric) {
    // Any direction other than 0 or 1 keeps the previous one.
    if (direction == 0)
        sortAscending_ = true;
    else if (direction == 1)
        sortAscending_ = false;
    // Numeric columns hold numbers, so numeric and text keys differ only in the
    // key the model compares; a numeric sort also leaves 0 shown empty.
    (void)numeric;
    model_->SortBy(column - 1, sortAscending_);
    return true;
}

} // namespace kesto::ui
