#include "composer/frmUserListing.h"

#include "UserListing.h"
#include "app/BoardText.h"
#include "app/ScreenFit.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace kesto::ui {

frmUserListing::frmUserListing(Session& s, QWidget* parent) : QDialog(parent), s_(s) {
    setObjectName(QStringLiteral("frmUserListing"));
    setWindowTitle(QStringLiteral("Kesto - User Listing"));
    QFont tahoma(QStringLiteral("Tahoma"));
    tahoma.setPointSizeF(8.25);
    setFont(tahoma);

    auto* layout = new QVBoxLayout(this);
    fraUserListing = new QGroupBox(QStringLiteral("Users"), this);
    fraUserListing->setObjectName(QStringLiteral("fraUserListing"));
    auto* inner = new QVBoxLayout(fraUserListing);
    lstUsers = new QListWidget(fraUserListing);
    lstUsers->setObjectName(QStringLiteral("lstUsers"));
    lstUsers->setAccessibleName(QStringLiteral("Users"));
    // Fixed pitch so the padded columns line up.
    QFont courier(QStringLiteral("Courier New"));
    courier.setPointSizeF(8.25);
    courier.setStyleHint(QFont::TypeWriter);
    courier.setFixedPitch(true);
    lstUsers->setFont(courier);
    lstUsers->setMinimumWidth(460);
    inner->addWidget(lstUsers);
    layout->addWidget(fraUserListing);

    auto* buttons = new QHBoxLayout;
    cmdOk = new QPushButton(QStringLiteral("Select"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    layout->addLayout(buttons);
    connect(cmdOk, &QPushButton::clicked, this, &frmUserListing::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmUserListing::cmdCancel_Click);
    connect(lstUsers, &QListWidget::itemDoubleClicked, this, &frmUserListing::lstUsers_DblClick);

    // A user file that cannot be read is logged by FillUserList and lists nobody.
    const kesto::UserListing listing = kesto::FillUserList(s_.board).value_or(kesto::UserListing{});
    UserNumbers = listing.numbers;
    for (const auto& line : listing.lines) lstUsers->addItem(FromBoard(line));
    if (lstUsers->count() > 0) lstUsers->setCurrentRow(0);
    KeepOnScreen(this);
}

std::optional<std::int32_t> frmUserListing::PickUser() {
    picked_.reset();
    exec();
    return picked_;
}

void frmUserListing::cmdOk_Click() {
    const int row = lstUsers->currentRow();
    if (row >= 0 && static_cast<std::size_t>(row) < UserNumbers.size()) {
        picked_ = UserNumbers[static_cast<std::size_t>(row)];
        accept();
        return;
    }
    reject();
}

void frmUserListing::cmdCancel_Click() {
    reject();
}

void frmUserListing::lstUsers_DblClick() {
    cmdOk_Click();
}

} // namespace kesto::ui
