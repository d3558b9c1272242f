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

    fraAddressBook = new QGroupBox(QStringLiteral("Address Book Entries"), this);
    fraAddressBook->setObjectName(QStringLiteral("fraAddressBook"));
    lstAddressBook = new QListWidget(fraAddressBook);
    lstAddressBook->setObjectName(QStringLiteral("lstAddressBook"));
    lstAddressBook->setAccessibleName(QStringLiteral("Address book entries"));
    lstAddressBook->setSelectionMode(QAbstractItemView::SingleSelection);
    QFont fixed(QStringLiteral("Courier New"));
    fixed.setStyleHint(QFont::Monospace);
    fixed.setFixedPitch(true);
    lstAddressBook->setFont(fixed);
    auto* fraLayout = new QVBoxLayout(fraAddressBook);
    fraLayout->addWidget(lstAddressBook);

    cmdOk = MakeButton(this, "cmdOk", QStringLiteral("Select"), QString());
    cmdEdit = MakeButton(this, "cmdEdit", QStringLiteral("Edit"), QStringLiteral("Edit the current entry."));
    cmdInsert =
        MakeButton(this, "cmdInsert", QStringLiteral("Insert"), QStringLiteral("Insert a new entry."));
    cmdDelete =
        MakeButton(this, "cmdDelete", QStringLiteral("Delete"), QStringLiteral("Delete the current entry."));
    cmdMoveUp =
        MakeArrowButton(this, "cmdMoveUp", Qt::UpArrow, QStringLiteral("Move the selected entry up."));
    cmdMoveDown =
        MakeArrowButton(this, "cmdMoveDown", Qt::DownArrow, QStringLiteral("Move the selected entry down."));
    // Pictures only: say what they do.
    cmdMoveUp->setAccessibleName(QStringLiteral("Move up"));
    cmdMoveDown->setAccessibleName(QStringLiteral("Move down"));
    cmdCancel = MakeButton(this, "cmdCancel", QStringLiteral("Close"), QStringLiteral("Close this window."));

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdEdit);
    buttons->addWidget(cmdInsert);
    buttons->addWidget(cmdDelete);
    auto* moves = new QHBoxLayout;
    moves->addWidget(cmdMoveUp);
    moves->addWidget(cmdMoveDown);
    moves->addStretch();
    buttons->addLayout(moves);
    buttons->addStretch();
    buttons->addWidget(cmdCancel);
    auto* top = new QHBoxLayout(this);
    top->addWidget(fraAddressBook, 1);
    top->addLayout(buttons);
    resize(420, 320);

    connect(cmdOk, &QPushButton::clicked, this, &frmAddressBook::cmdOk_Click);
    connect(cmdEdit, &QPushButton::clicked, this, &frmAddressBook::cmdEdit_Click);
    connect(cmdInsert, &QPushButton::clicked, this, &frmAddressBook::cmdInsert_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &frmAddressBook::cmdDelete_Click);
    connect(cmdMoveUp, &QToolButton::clicked, this, &frmAddressBook::cmdMoveUp_Click);
    connect(cmdMoveDown, &QToolButton::clicked, this, &frmAddressBook::cmdMoveDown_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmAddressBook::cmdCancel_Click);
    connect(lstAddressBook, &QListWidget::itemDoubleClicked, this, &frmAddressBook::lstAddressBook_DblClick);

    busy_ = true;
    viewMode_ = mode == Mode::View;
    if (viewMode_) {
        cmdOk->setEnabled(false);
        cmdEdit->setDefault(true);
    } else {
        cmdOk->setDefault(true);
    }

    Reload();
    FillList();
    if (lstAddressBook->count() > 0) SelectRow(0);
    lstAddressBook->setFocus();
    KeepOnScreen(this);
}

std::optional<std::string> frmAddressBook::PickAddress() {
    picked_.reset();
    exec();
    return picked_;
}

void frmAddressBook::Reload() {
    book_ = kesto::LoadAddressBook(s_.board, s_.CurrentUserNumber);
}

void frmAddressBook::FillList() {
    lstAddressBook->clear();
    const std::size_t count = book_.Count();
    for (std::size_t i = 0; i < count; ++i)
        lstAddressBook->addItem(FromBoard(kesto::AddressBookRowText(i + 1, count, book_.lines[i])));
    const int rows = lstAddressBook->count();
    fraAddressBook->setTitle(QStringLiteral("Address Book Entries (%1)").arg(rows));
    cmdEdit->setEnabled(rows >= 1);
    cmdDelete->setEnabled(rows >= 1);
    cmdMoveUp->setEnabled(rows >= 2);
    cmdMoveDown->setEnabled(rows >= 2);
    cmdInsert->setEnabled(static_cast<std::size_t>(rows) < kesto::kAddressBookInsertLimit);
    busy_ = false;
}

void frmAddressBook::SelectRow(int row) {
    if (row < 0 || row >= lstAddressBook->count()) return;
    lstAddressBook->setCurrentRow(row);
}

void frmAddressBook::SaveAndReload() {
    // A book that cannot be written is logged; the list shows what the file holds.
    (void)kesto::SaveAddressBook(s_.board, s_.CurrentUserNumber, book_);
    Reload();
    FillList();
}

void frmAddressBook::cmdInsert_Click() {
    if (busy_ || static_cast<std::size_t>(lstAddressBook->count()) >= kesto::kAddressBookInsertLimit) return;
    busy_ = true;
    book_.lines.emplace_back(",,0");
    SaveAndReload();
    SelectRow(lstAddressBook->count() - 1);
}

void frmAddressBook::cmdDelete_Click() {
    const int r = lstAddressBook->currentRow();
    if (busy_ || r < 0 || static_cast<std::size_t>(r) + 1 > book_.Count()) return;
    busy_ = true;
    book_.lines[r].clear();
    SaveAndReload();
    const int rows = lstAddressBook->count();
    if (r < rows)
        SelectRow(r);
    else if (rows > 0)
        SelectRow(rows - 1);
}

void frmAddressBook::cmdMoveUp_Click() {
    const int r = lstAddressBook->currentRow();
    if (busy_ || r < 1 || lstAddressBook->count() < 2 || static_cast<std::size_t>(r) + 1 > book_.Count())
        return;
    busy_ = true;
    std::swap(book_.lines[r], book_.lines[r - 1]);
    SaveAndReload();
    SelectRow(r - 1);
}

void frmAddressBook::cmdMoveDown_Click() {
    const int r = lstAddressBook->currentRow();
    if (busy_ || r < 0 || lstAddressBook->count() < 2 || static_cast<std::size_t>(r) + 2 > book_.Count())
        return;
    busy_ = true;
    std::swap(book_.lines[r], book_.lines[r + 1]);
    SaveAndReload();
    SelectRow(r + 1);
}

void frmAddressBook::cmdEdit_Click() {
    const int r = lstAddressBook->currentRow();
    if (busy_ || r < 0) return;
    busy_ = true;
    {
        frmAddressBookEdit editor(s_, r + 1, this);
        editor.EditEntry();
    }
    Reload();
    FillList();
    SelectRow(r);
}

void frmAddressBook::cmdOk_Click() {
    const int r = lstAddressBook->currentRow();
    if (busy_ || viewMode_ || r < 0 || static_cast<std::size_t>(r) + 1 > book_.Count()) return;
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
