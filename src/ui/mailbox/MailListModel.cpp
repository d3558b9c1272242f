#include "mailbox/MailListModel.h"

#include "CaseFold.h"
#include "Cp1252.h"
#include "app/Icons.h"

#include <algorithm>
#include <numeric>

namespace kesto::ui {
namespace {

constexpr std::uint8_t kPlainNumber = 1;
constexpr std::uint8_t kPlainSize = 2;

const char* IconKey(kesto::RowState state) {
    switch (state) {
    case kesto::RowState::Unread:
        return "new";
    case kesto::RowState::UnreadWithAttachment:
        return "email_attach";
    case kesto::RowState::Read:
        return "open";
    case kesto::RowState::Deleted:
        return "delete";
    }
    return "";
}

// Letter case ignored, accented letters too, as the filter ignores it.
bool LessFolded(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        unsigned char x = kesto::kCaseFold[static_cast<unsigned char>(a[i])];
        unsigned char y = kesto::kCaseFold[static_cast<unsigned char>(b[i])];
        if (x != y) return x < y;
    }
    return a.size() < b.size();
}

QString FromBoard(std::string_view s) {
    // Plain ASCII is by far the common case and needs no table.
    if (std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
    std::u32string u = kesto::DecodeCp1252(s);
    return QString::fromUcs4(u.data(), static_cast<qsizetype>(u.size()));
}

// What the state icon says, to a screen reader and as its tool tip.
QString StateWord(kesto::RowState state) {
    switch (state) {
    case kesto::RowState::Unread:
        return QStringLiteral("unread");
    case kesto::RowState::UnreadWithAttachment:
        return QStringLiteral("attachment");
    case kesto::RowState::Read:
        return QStringLiteral("read");
    case kesto::RowState::Deleted:
        return QStringLiteral("deleted");
    }
    return {};
}

} // namespace

MailListModel::MailListModel(QObject* parent) : QAbstractTableModel(parent) {}

int MailListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : GetShownCount();
}

int MailListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString MailListModel::GetText(const kesto::MailRow& r, int column, std::uint8_t plain) const {
    switch (column) {
    case ColNumber:
        if ((plain & kPlainNumber) && r.number == 0) return {};
        return QString::number(r.number);
    case ColName:
        return FromBoard(r.name);
    case ColSubject:
        return FromBoard(r.subject);
    case ColDate:
        return FromBoard(r.date);
    case ColSize:
        if ((plain & kPlainSize) && r.size == 0) return {};
        return QString::number(r.size);
    default:
        return {};
    }
}

QVariant MailListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= GetShownCount()) return {};
    const std::size_t r = At(index.row());
    const int c = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return GetText(rows_[r], c, plain_[r]);
    case Qt::DecorationRole:
        if (c == ColIcon) return Icon(IconKey(rows_[r].state));
        return {};
    case Qt::AccessibleTextRole:
    case Qt::ToolTipRole:
        if (c == ColIcon) return StateWord(rows_[r].state);
        return {};
    case Qt::FontRole:
        if (rows_[r].bold && c >= ColNumber && c <= ColDate) return boldFont_;
        return {};
    case Qt::TextAlignmentRole:
        if (c == ColNumber || c == ColSize) return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant MailListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount) return {};
    switch (role) {
    case Qt::DisplayRole:
        switch (section) {
        case ColNumber:
            return QStringLiteral("#");
        case ColName:
            return received_ ? QStringLiteral("From") : QStringLiteral("To");
        case ColSubject:
            return QStringLiteral("Subject");
        case ColDate:
            return QStringLiteral("Date");
        case ColSize:
            return QStringLiteral("Size");
        default:
            return QString();
        }
    case Qt::AccessibleTextRole:
        // The icon and "#" headers show no word to read out.
        if (section == ColIcon) return QStringLiteral("State");
        if (section == ColNumber) return QStringLiteral("Number");
        return headerData(section, orientation, Qt::DisplayRole);
    case Qt::DecorationRole: {
        const QString& key = headerIcon_[static_cast<std::size_t>(section)];
        if (key.isEmpty()) return {};
        return Icon(key);
    }
    case Qt::TextAlignmentRole:
        if (section == ColNumber || section == ColSize)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

void MailListModel::SetRows(std::vector<kesto::MailRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    plain_.assign(rows_.size(), 0);
    keep_.assign(rows_.size(), 1);
    shown_.resize(rows_.size());
    std::iota(shown_.begin(), shown_.end(), 0);
    filtered_ = false;
    for (auto& k : headerIcon_) k.clear();
    endResetModel();
}

void MailListModel::SetReceived(bool received) {
    if (received_ == received) return;
    received_ = received;
    emit headerDataChanged(Qt::Horizontal, ColName, ColName);
}

void MailListModel::UpdateRow(int r, const kesto::MailRow& fresh, bool notify) {
    if (r < 0 || r >= GetShownCount()) return;
    auto& row = rows_[At(r)];
    row.state = fresh.state;
    row.name = fresh.name;
    row.subject = fresh.subject;
    row.date = fresh.date;
    row.size = fresh.size;
    row.ownerName = fresh.ownerName;
    row.unread = fresh.unread;
    row.attachment = fresh.attachment;
    row.position = fresh.position;
    plain_[At(r)] &= static_cast<std::uint8_t>(~kPlainSize);
    if (notify) emit dataChanged(index(r, ColIcon), index(r, ColSize));
}

void MailListModel::NotifyRowsChanged() {
    if (!shown_.empty()) emit dataChanged(index(0, ColIcon), index(GetShownCount() - 1, ColSize));
}

void MailListModel::ShowOnly(const std::vector<char>& keep) {
    if (keep.size() != rows_.size()) return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const std::vector<int> oldShown = std::move(shown_);
    keep_ = keep;
    filtered_ = true;
    Reshow(oldShown, {});
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void MailListModel::ShowAll() {
    if (!filtered_) return;
    ShowOnly(std::vector<char>(rows_.size(), 1));
    filtered_ = false;
}

void MailListModel::Reshow(const std::vector<int>& oldShown, const std::vector<int>& rowsMoved) {
    shown_.clear();
    std::vector<int> shownAt(rows_.size(), -1);
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (!keep_[i]) continue;
        shownAt[i] = static_cast<int>(shown_.size());
        shown_.push_back(static_cast<int>(i));
    }
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& idx : from) {
        int row = oldShown[static_cast<std::size_t>(idx.row())];
        if (!rowsMoved.empty()) row = rowsMoved[static_cast<std::size_t>(row)];
        const int p = shownAt[static_cast<std::size_t>(row)];
        to.append(p < 0 ? QModelIndex() : index(p, idx.column()));
    }
    changePersistentIndexList(from, to);
}

void MailListModel::SetHeaderIcon(int column, const QString& key) {
    if (column < 0 || column >= ColumnCount) return;
    auto& slot = headerIcon_[static_cast<std::size_t>(column)];
    if (slot == key) return;
    slot = key;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

void MailListModel::SortBy(int column, bool ascending) {
    if (column < 0 || column >= ColumnCount) return;
    const std::size_t n = rows_.size();
    std::vector<int> order(n);
    std::iota(order.begin(), order.end(), 0);

    auto sortWith = [&](auto less) {
        // A rebuild re-applies the sort to rows that are already in order: one pass over
        // neighbours finds that for a fraction of a merge sort's cost.
        bool inOrder = true;
        for (std::size_t i = 1; i < n && inOrder; ++i)
            inOrder = ascending ? !less(rows_[i], rows_[i - 1]) : !less(rows_[i - 1], rows_[i]);
        if (inOrder) return;
        if (ascending)
            std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
                return less(rows_[static_cast<std::size_t>(a)], rows_[static_cast<std::size_t>(b)]);
            });
        else
            std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
                return less(rows_[static_cast<std::size_t>(b)], rows_[static_cast<std::size_t>(a)]);
            });
    };
    using Row = kesto::MailRow;
    switch (column) {
    case ColNumber:
        sortWith([](const Row& a, const Row& b) { return a.number < b.number; });
        break;
    case ColSize:
        sortWith([](const Row& a, const Row& b) { return a.size < b.size; });
        break;
    case ColName:
        sortWith([](const Row& a, const Row& b) { return LessFolded(a.name, b.name); });
        break;
    case ColSubject:
        sortWith([](const Row& a, const Row& b) { return LessFolded(a.subject, b.subject); });
        break;
    case ColDate:
        sortWith([](const Row& a, const Row& b) { return LessFolded(a.date, b.date); });
        break;
    default:
        break; // the icon column has no text: every key is equal
    }

    const std::uint8_t bit = column == ColNumber ? kPlainNumber : column == ColSize ? kPlainSize : 0;
    // A rebuild re-applies the sort to rows that are already in order: nothing moves.
    bool moved = false;
    for (std::size_t i = 0; i < n && !moved; ++i) moved = order[i] != static_cast<int>(i);
    if (!moved) {
        if (bit && n > 0) {
            for (auto& p : plain_) p |= bit;
            if (!shown_.empty())
                emit dataChanged(index(0, column), index(GetShownCount() - 1, column), {Qt::DisplayRole});
        }
        return;
    }

    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<kesto::MailRow> sorted;
    sorted.reserve(n);
    std::vector<std::uint8_t> sortedPlain(n);
    std::vector<char> sortedKeep(n);
    std::vector<int> newPos(n);
    for (std::size_t i = 0; i < n; ++i) {
        const auto from = static_cast<std::size_t>(order[i]);
        sorted.push_back(rows_[from]);
        sortedPlain[i] = plain_[from];
        sortedKeep[i] = keep_[from];
        newPos[from] = static_cast<int>(i);
    }
    rows_ = std::move(sorted);
    plain_ = std::move(sortedPlain);
    keep_ = std::move(sortedKeep);
    if (bit)
        for (auto& p : plain_) p |= bit;
    const std::vector<int> oldShown = std::move(shown_);
    Reshow(oldShown, newPos);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

} // namespace kesto::ui
