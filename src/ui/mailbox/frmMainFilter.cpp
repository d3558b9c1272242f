// The main window's filter box.
#include "mailbox/frmMain.h"

#include "mailbox/MailListModel.h"

#include "ErrorLog.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSizePolicy>
#include <QToolBar>
#include <QTreeView>
#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

namespace kesto::ui {
namespace {

constexpr const char* kModule = "frmMain";

} // namespace

void frmMain::BuildFilter() {
    // At the toolbar's right end: every designed control keeps its place and size.
    auto* spacer = new QWidget(Toolbar1);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    Toolbar1->addWidget(spacer);
    lblFilter = new QLabel(Toolbar1);
    lblFilter->setObjectName(QStringLiteral("lblFilter"));
    lblFilter->setTextFormat(Qt::PlainText);
    lblFilter->setContentsMargins(0, 0, 6, 0);
    lblFilter->setAccessibleName(QStringLiteral("Filter result")); // empty while no filter is on
    Toolbar1->addWidget(lblFilter);
    txtFilter = new QLineEdit(Toolbar1);
    txtFilter->setObjectName(QStringLiteral("txtFilter"));
    txtFilter->setPlaceholderText(QStringLiteral("Filter (Ctrl+F)"));
    txtFilter->setAccessibleName(QStringLiteral("Filter"));
    txtFilter->setToolTip(
        QStringLiteral("Words that must all match: a name, subject or text word, from:, to:, "
                       "subject:, text:, is:unread, is:deleted, has:attachment, \"a phrase\""));
    txtFilter->setClearButtonEnabled(true);
    txtFilter->setMaximumWidth(260);
    txtFilter->installEventFilter(this);
    Toolbar1->addWidget(txtFilter);
    connect(txtFilter, &QLineEdit::textChanged, this, &frmMain::txtFilter_Change);
    // A new future on the watcher drops what the older one would still report.
    searchWatcher_ = new QFutureWatcher<TextSearchResult>(this);
    connect(searchWatcher_, &QFutureWatcherBase::finished, this, [this] {
        if (searchWatcher_->future().resultCount() > 0)
            OnTextSearchDone(searchGeneration_, searchWatcher_->result(), false);
    });

    act_.find = new QAction(QStringLiteral("Find"), this);
    act_.find->setObjectName(QStringLiteral("actFind"));
    act_.find->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_F), QKeySequence(Qt::Key_Slash)});
    addAction(act_.find);
    connect(act_.find, &QAction::triggered, this, &frmMain::FocusFilter);
}

void frmMain::FocusFilter() {
    txtFilter->setFocus(Qt::ShortcutFocusReason);
    txtFilter->selectAll();
}

bool frmMain::HandleFilterKey(QKeyEvent* key) {
    if (key->key() == Qt::Key_Escape) {
        txtFilter->clear();
        ListView1->setFocus(Qt::OtherFocusReason);
        return true;
    }
    if (key->key() == Qt::Key_Down) {
        ListView1->setFocus(Qt::OtherFocusReason);
        if (!ListView1->currentIndex().isValid() && GetRowCount() > 0) SelectRow(1);
        return true;
    }
    return false;
}

void frmMain::txtFilter_Change() {
    query_ = kesto::ParseQuery(txtFilter->text().toStdString());
    ApplyFilter(false);
}

std::vector<char> frmMain::MatchHeaders(std::vector<kesto::TextCheck>* checks) const {
    const std::vector<kesto::MailRow>& rows = model_->GetAllRows();
    std::vector<char> keep(rows.size(), 0);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const kesto::HeaderVerdict v = kesto::MatchHeader(query_, rows[i], s_.CurrentMailbox);
        if (v.rejected) continue;
        if (v.open == 0)
            keep[i] = 1;
        else if (checks)
            checks->push_back(
                {static_cast<std::size_t>(rows[i].number), rows[i].position, rows[i].size, v.open});
    }
    return keep;
}

void frmMain::CancelTextSearch() {
    if (searchCancel_) searchCancel_->store(true);
    searchCancel_.reset();
    searching_ = false;
}

void frmMain::ApplyFilter(bool rebuilding) {
    ++filterGeneration_;
    CancelTextSearch();
    searchFailed_ = false;
    if (query_.IsEmpty()) {
        if (rebuilding) return; // new rows are all shown
        model_->ShowAll();
        ShowFiltered({});
        return;
    }
    std::vector<kesto::TextCheck> checks;
    std::vector<char> keep = MatchHeaders(&checks);
    if (checks.empty()) {
        ShowFiltered(keep, !rebuilding);
        return;
    }
    if (rebuilding) {
        // A rebuild is one step: the commands and the reader rely on its rows at once.
        const kesto::Result<std::vector<std::size_t>> found =
            kesto::MatchTexts(s_.board, s_.CurrentMailbox, query_, std::move(checks));
        TextSearchResult result;
        if (found)
            result.numbers = *found;
        else
            result.error = found.error();
        OnTextSearchDone(filterGeneration_, result, true);
        return;
    }

    // The rows the header decides show at once; the worker reads the texts for the rest.
    searching_ = true;
    ShowFiltered(keep);
    auto cancel = std::make_shared<std::atomic<bool>>(false);
    searchCancel_ = cancel;
    searchGeneration_ = filterGeneration_;
    // The worker has its own copies and reads the files itself; it never sees a widget.
    searchWatcher_->setFuture(QtConcurrent::run([board = s_.board, box = s_.CurrentMailbox, query = query_,
                                                 checks = std::move(checks), cancel]() mutable {
        TextSearchResult result;
        kesto::Result<std::vector<std::size_t>> found =
            kesto::MatchTexts(board, box, query, std::move(checks), cancel.get());
        if (found)
            result.numbers = std::move(*found);
        else
            result.error = found.error();
        return result;
    }));
}

void frmMain::OnTextSearchDone(std::uint64_t generation, const TextSearchResult& result, bool rebuilding) {
    if (generation != filterGeneration_) return; // a newer keystroke or rebuild took over
    searching_ = false;
    searchCancel_.reset();
    std::vector<char> keep = MatchHeaders(nullptr);
    if (result.error) {
        // The rows the header fields found stay; the log says why the texts could not be read.
        kesto::LogFailure(s_.board.log, kModule, "txtFilter_Change", *result.error);
        searchFailed_ = true;
    } else {
        const std::vector<kesto::MailRow>& rows = model_->GetAllRows();
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (std::binary_search(result.numbers.begin(), result.numbers.end(),
                                   static_cast<std::size_t>(rows[i].number)))
                keep[i] = 1;
    }
    ShowFiltered(keep, !rebuilding);
}

void frmMain::ShowFiltered(const std::vector<char>& keep, bool select) {
    if (!query_.IsEmpty()) model_->ShowOnly(keep);
    if (select) {
        // The current message stays selected while it is shown; otherwise the first row is.
        const QModelIndex current = ListView1->currentIndex();
        if (current.isValid()) {
            ListView1->scrollTo(current);
        } else if (GetRowCount() > 0) {
            ClearSelection();
            SelectRow(1);
        }
        UpdateActions();
    }
    UpdateFilterLabel();
    if (!searching_) emit FilterApplied();
}

void frmMain::UpdateFilterLabel() {
    if (query_.IsEmpty()) {
        lblFilter->clear();
        lblFilter->setToolTip({});
        return;
    }
    const int shown = GetRowCount();
    const int all = static_cast<int>(model_->GetAllRows().size());
    QString text = shown == 0 && !searching_ ? QStringLiteral("No messages match")
                                             : QStringLiteral("%1 of %2").arg(shown).arg(all);
    if (searching_) text += QStringLiteral(", searching the texts...");
    if (searchFailed_) text += QStringLiteral(", the texts cannot be read");
    if (query_.cut) text += QStringLiteral(", query cut");
    lblFilter->setText(text);
    lblFilter->setToolTip(query_.cut
                              ? QStringLiteral("Only the first %1 words, of at most %2 characters each, "
                                               "are used.")
                                    .arg(kesto::kMaxQueryWords)
                                    .arg(kesto::kMaxQueryWordBytes)
                              : QString());
}

} // namespace kesto::ui
