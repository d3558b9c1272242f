// The rows of the mailbox list: a flat table over decoded index rows. Sorting and
// the filter happen here (not in proxies) so a 32,767-row mailbox sorts and filters
// in a few ms. Row numbers are those of the shown rows; hidden rows keep their place
// in the sort and come back where they belong when the filter goes.
#pragma once

#include "MailList.h"

#include <QAbstractTableModel>
#include <QFont>
#include <QIcon>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace kesto::ui {

class MailListModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    // 0-based model columns; the window speaks of them 1-based.
    enum Column { ColIcon = 0, ColNumber, ColName, ColSubject, ColDate, ColSize, ColumnCount };

    explicit MailListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Replaces every row; header arrows and the display quirks of earlier sorts go with them.
    void SetRows(std::vector<kesto::MailRow> rows);
    // Column 3 reads "From" for received mail and "To" for sent mail.
    void SetReceived(bool received);
    void SetBoldFont(const QFont& font) { boldFont_ = font; }

    const kesto::MailRow& GetRow(int r) const { return rows_[At(r)]; }
    // Every row in list order, shown or not.
    const std::vector<kesto::MailRow>& GetAllRows() const { return rows_; }
    // Shows the rows whose keep[i] is set (i counting GetAllRows()), or all of them.
    // Selections and persistent indexes follow the rows that stay shown.
    void ShowOnly(const std::vector<char>& keep);
    void ShowAll();
    bool IsFiltered() const { return filtered_; }
    // A row re-read from the index: icon and columns 3 to 6 change; "#" and bold stay.
    // With notify false the caller announces a batch with NotifyRowsChanged().
    void UpdateRow(int r, const kesto::MailRow& fresh, bool notify = true);
    void NotifyRowsChanged();

    // Header arrow: "up", "down" or empty for none.
    void SetHeaderIcon(int column, const QString& key);
    QString GetHeaderIcon(int column) const { return headerIcon_[static_cast<std::size_t>(column)]; }

    // Orders the rows by `column` (ColNumber and ColSize by value, the rest as text,
    // case-insensitively). Equal keys keep their order. A numeric sort leaves the
    // column showing its plain values, with 0 shown empty, until the row is rewritten.
    void SortBy(int column, bool ascending);

  private:
    QString GetText(const kesto::MailRow& r, int column, std::uint8_t plain) const;
    std::size_t At(int r) const { return static_cast<std::size_t>(shown_[static_cast<std::size_t>(r)]); }
    int GetShownCount() const { return static_cast<int>(shown_.size()); }
    // Rebuilds shown_ from keep_ between layoutAboutToBeChanged and layoutChanged, moving
    // the persistent indexes: oldShown are the rows_ indexes shown before, and rowsMoved
    // maps an old rows_ index to its new one (empty: none moved).
    void Reshow(const std::vector<int>& oldShown, const std::vector<int>& rowsMoved);

    std::vector<kesto::MailRow> rows_;
    std::vector<std::uint8_t> plain_; // per row: bit 0 "#", bit 1 "Size" show 0 as empty
    std::vector<char> keep_;          // per row: shown
    std::vector<int> shown_;          // rows_ indexes of the shown rows, ascending
    bool filtered_ = false;
    std::array<QString, ColumnCount> headerIcon_;
    bool received_ = true;
    QFont boldFont_;
};

} // namespace kesto::ui
