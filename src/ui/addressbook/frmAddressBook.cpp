#include "addressbook/frmAddressBook.h"
#include "app/BoardText.h"
#include "app/ScreenFit.h"

#include "Cp1252.h"
#include "addressbook/frmAddressBookEdit.h"

#include <QCloseEvent>
#include <QFont>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <utility>

namespace kesto::ui {
namespace {

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text, const QString& tip) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    if (!tip.isEmpty()) b->setToolTip(tip);
    // Return presses a focused button; from the list it goes to the window's default command.
    return b;
}

// A tool button ignores Return; a keyboard user expects it to press the focused button.
class ReturnClicks : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
        static_cast<QAbstractButton*>(watched)->click();
        return true;
    }
};

QToolButton* MakeArrowButton(QWidget* parent, const char* name, Qt::ArrowType arrow, const QString& tip) {
    auto* b = new QToolButton(parent);
    b->installEventFilter(new ReturnClicks(b));
    b->setObjectName(QLatin1String(name));
    b->setArrowType(arrow);
    b->setToolTip(tip);
    return b;
}

} // namespace

frmAddressBook::frmAddressBook(Session& s, Mode mode, QWidget* parent) : QDialog(parent), s_(s) {
    setObjectName(QStringLiteral("frmAddressBook"));
    setWindowTitle(QStringLiteral("Kesto - Address Book"));
    setModal(true);

    fraAddressBook_ = new QGroupBox(QStringLiteral("Address Book Entries"), this);
    fraAddressBook_->setObjectName(QStringLiteral("fraAddressBook"));
    lstAddressBook_ = new QListWidget(fraAddressBook_);
    lstAddressBook_->setObjectName(QStringLiteral("lstAddressBook"));
    lstAddressBook_->setAccessibleName(QStringLiteral("Address book entries"));
    lstAddressBook_->setSelectionMode(QAbstractItemView::SingleSelection);
    QFont fixed(QStringLiteral("Courier New"));
    fixed.setStyleHint(QFont::Monospace);
    fixed.setFixedPitch(true);
    lstAddressBook_->setFont(fixed);
    auto* fraLayout = new QVBoxLayout(fraAddressBook_);
    fraLayout->addWidget(lstAddressBook_);

    cmdOk_ = MakeButton(this, "cmdOk", QStringLiteral("Select"), QString());
    cmdEdit_ = MakeButton(this, "cmdEdit", QStringLiteral("Edit"), QStringLiteral("Edit the current entry."));
    cmdInsert_ =
        MakeButton(this, "cmdInsert", QStringLiteral("Insert"), QStringLiteral("Insert a new entry."));
    cmdDelete_ =
        MakeButton(this, "cmdDelete", QStringLiteral("Delete"), QStringLiteral("Delete the current entry."));
    cmdMoveUp_ =
        MakeArrowButton(this, "cmdMoveUp", Qt::UpArrow, QStringLiteral("Move the selected entry up."));
    cmdMoveDown_ =
        MakeArrowButton(this, "cmdMoveDown", Qt::DownArrow, QStringLiteral("Move the selected entry down."));
    // Pictures only: say what they do.
    cmdMoveUp_->setAccessibleName(QStringLiteral("Move up"));
    cmdMoveDown_->setAccessibleName(QStringLiteral("Move down"));
    cmdCancel_ = MakeButton(this, "cmdCancel", QStringLiteral("Close"), QStringLiteral("Close this window."));

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdOk_);
    buttons->addWidget(cmdEdit_);
    buttons->addWidget(cmdInsert_);
    buttons->addWidget(cmdDelete_);
    auto* moves = new QHBoxLayout;
    moves->addWidget(cmdMoveUp_);
    moves->addWidget(cmdMoveDown_);
    moves->addStretch();
    buttons->addLayout(moves);
    buttons->addStretch();
    buttons->addWidget(cmdCancel_);
    auto* top = new QHBoxLayout(this);
    top->addWidget(fraAddressBook_, 1);
    top->addLayout(buttons);
    resize(420, 320);

    connect(cmdOk_, &QPushButton::clicked, this, &frmAddressBook::cmdOk_Click);
    connect(cmdEdit_, &QPushButton::clicked, this, &frmAddressBook::cmdEdit_Click);
    connect(cmdInsert_, &QPushButton::clicked, this, &frmAddressBook::cmdInsert_Click);
    connect(cmdDelete_, &QPushButton::clicked, this, &frmAddressBook::cmdDelete_Click);
    connect(cmdMoveUp_, &QToolButton::clicked, this, &frmAddressBook::cmdMoveUp_Click);
    connect(cmdMoveDown_, &QToolButton::clicked, this, &frmAddressBook::cmdMoveDown_Click);
    connect(cmdCancel_, &QPushButton::clicked, this, &frmAddressBook::cmdCancel_Click);
    connect(lstAddressBook_, &QListWidget::itemDoubleClicked, this, &frmAddressBook::lstAddressBook_DblClick);

    busy_ = true;
    viewMode_ = mode == Mode::View;
    if (viewMode_) {
        cmdOk_->setEnabled(false);
        cmdEdit_->setDefault(true);
    } else {
        cmdOk_->setDefault(true);
    }

    reload();
    fillList();
    if (lstAddressBook_->count() > 0) selectRow(0);
    lstAddressBook_->setFocus();
    KeepOnScreen(this);
}

std::optional<std::string> frmAddressBook::pickAddress() {
    picked_.reset();
    exec();
    return picked_;
}

void frmAddressBook::reload() {
    book_ = kesto::LoadAddressBook(s_.board, s_.CurrentUserNumber);
}

void frmAddressBook::fillList() {
    lstAddressBook_->clear();
    const std::size_t count = book_.count();
    for (std::size_t i = 0; i < count; ++i)
        lstAddressBook_->addItem(FromBoard(kesto::AddressBookRowText(i + 1, count, book_.lines[i])));
    const int rows = lstAddressBook_->count();
    fraAddressBook_->setTitle(QStringLiteral("Address Book Entries (%1)").arg(rows));
    cmdEdit_->setEnabled(rows >= 1);
    cmdDelete_->setEnabled(rows >= 1);
    cmdMoveUp_->setEnabled(rows >= 2);
    cmdMoveDown_->setEnabled(rows >= 2);
    cmdInsert_->setEnabled(static_cast<std::size_t>(rows) < kesto::kAddressBookInsertLimit);
    busy_ = false;
}

void frmAddressBook::selectRow(int row) {
    if (row < 0 || row >= lstAddressBook_->count()) return;
    lstAddressBook_->setCurrentRow(row);
}

void frmAddressBook::saveAndReload() {
    // A book that cannot be written is logged; the list shows what the file holds.
    (void)kesto::SaveAddressBook(s_.board, s_.CurrentUserNumber, book_);
    reload();
    fillList();
}

void frmAddressBook::cmdInsert_Click() {
    if (busy_ || static_cast<std::size_t>(lstAddressBook_->count()) >= kesto::kAddressBookInsertLimit) return;
    busy_ = true;
    book_.lines.emplace_back(",,0");
    saveAndReload();
    selectRow(lstAddressBook_->count() - 1);
}

void frmAddressBook::cmdDelete_Click() {
    const int r = lstAddressBook_->currentRow();
    if (busy_ || r < 0 || static_cast<std::size_t>(r) + 1 > book_.count()) return;
    busy_ = true;
    book_.lines[r].clear();
    saveAndReload();
    const int rows = lstAddressBook_->count();
    if (r < rows)
        selectRow(r);
    else if (rows > 0)
        selectRow(rows - 1);
}

void frmAddressBook::cmdMoveUp_Click() {
    const int r = lstAddressBook_->currentRow();
    if (busy_ || r < 1 || lstAddressBook_->count() < 2 || static_cast<std::size_t>(r) + 1 > book_.count())
        return;
    busy_ = true;
    std::swap(book_.lines[r], book_.lines[r - 1]);
    saveAndReload();
    selectRow(r - 1);
}

void frmAddressBook::cmdMoveDown_Click() {
    const int r = lstAddressBook_->currentRow();
    if (busy_ || r < 0 || lstAddressBook_->count() < 2 || static_cast<std::size_t>(r) + 2 > book_.count())
        return;
    busy_ = true;
    std::swap(book_.lines[r], book_.lines[r + 1]);
    saveAndReload();
    selectRow(r + 1);
}

void frmAddressBook::cmdEdit_Click() {
    const int r = lstAddressBook_->currentRow();
    if (busy_ || r < 0) return;
    busy_ = true;
    {
        frmAddressBookEdit editor(s_, r + 1, this);
        editor.editEntry();
    }
    reload();
    fillList();
    selectRow(r);
}

void frmAddressBook::cmdOk_Click() {
    const int r = lstAddressBook_->currentRow();
    if (busy_ || viewMode_ || r < 0 || static_cast<std::size_t>(r) + 1 > book_.count()) return;
    picked_ = kesto::AddressBookPickText(book_.lines[r]);
    accept();
}

void frmAddressBook::cmdCancel_Click() {
    reject();
}

void frmAddressBook::lstAddressBook_DblClick() {
    if (viewMode_)
        cmdEdit_Click();
    else
        cmdOk_Click();
}

void frmAddressBook::closeEvent(QCloseEvent* e) {
    if (busy_) {
        e->ignore();
        return;
    }
    QDialog::closeEvent(e);
}

void frmAddressBook::reject() {
    if (busy_) return;
    QDialog::reject();
}

} // namespace kesto::ui
