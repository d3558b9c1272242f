#include "reader/frmMessageInfo.h"

#include "app/ScreenFit.h"
#include "app/Session.h"

#include "Cp1252.h"
#include "MessageInfoView.h"

#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kesto::ui {

frmMessageInfo::frmMessageInfo(Session& s, kesto::RecordNo messageNumber, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmMessageInfo"));
    setWindowTitle(QStringLiteral("Kesto - Message Information"));
    setModal(true);

    auto* fraMessageInfo = new QGroupBox(QStringLiteral("Information"), this);
    fraMessageInfo->setObjectName(QStringLiteral("fraMessageInfo"));
    auto* grid = new QGridLayout(fraMessageInfo);
    const QFont tahoma(QStringLiteral("Tahoma"), 8);
    int row = 0;
    for (const kesto::MessageInfoField& f :
         kesto::ReadMessageInfoView(s.board, s.CurrentMailbox, messageNumber)) {
        const QString name = QStringLiteral("lbl") + QString::fromStdString(f.name);
        auto* caption = new QLabel(QString::fromStdString(kesto::Cp1252ToUtf8(f.caption)), fraMessageInfo);
        caption->setObjectName(name);
        auto* value = new QLabel(QString::fromStdString(kesto::Cp1252ToUtf8(f.value)), fraMessageInfo);
        value->setObjectName(name + QStringLiteral("Value"));
        for (QLabel* l : {caption, value}) {
            l->setTextFormat(Qt::PlainText);
            l->setFont(tahoma);
        }
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        // The value reads out under its caption, without the colon.
        QString spoken = caption->text();
        if (spoken.endsWith(QLatin1Char(':'))) spoken.chop(1);
        value->setAccessibleName(spoken);
        grid->addWidget(caption, row, 0);
        grid->addWidget(value, row, 1);
        ++row;
    }
    grid->setColumnStretch(1, 1);

    auto* cmdCancel = new QPushButton(QStringLiteral("Close"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setDefault(true);
    connect(cmdCancel, &QPushButton::clicked, this, &frmMessageInfo::cmdCancel_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fraMessageInfo);
    layout->addLayout(buttons);
    setMinimumWidth(420);
    KeepOnScreen(this);
}

void frmMessageInfo::cmdCancel_Click() {
    accept();
}

} // namespace kesto::ui
