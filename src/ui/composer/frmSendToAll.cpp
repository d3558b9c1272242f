#include "composer/frmSendToAll.h"

#include "TextHelpers.h"
#include "app/Dialogs.h"
#include "app/BoardText.h"
#include "app/KeyFilters.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kesto::ui {
namespace {

const char* const kCaptions[5] = {"Security Level greater than...", "Security Level less than...",
                                  "Security Level equal to...", "User Flag of...", "Access Flag of..."};
const char* const kOperators[5] = {"> ", "< ", "= ", "! ", "$ "};

} // namespace

frmSendToAll::frmSendToAll(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmSendToAll"));
    setWindowTitle(QStringLiteral("Kesto - Send to All Users"));
    QFont tahoma(QStringLiteral("Tahoma"));
    tahoma.setPointSizeF(8.25);
    setFont(tahoma);

    auto* layout = new QVBoxLayout(this);
    lblSend = new QLabel(QStringLiteral("Send to all users with a..."), this);
    lblSend->setObjectName(QStringLiteral("lblSend"));
    layout->addWidget(lblSend);
    fraSendToAll = new QGroupBox(QStringLiteral("Options"), this);
    fraSendToAll->setObjectName(QStringLiteral("fraSendToAll"));
    auto* options = new QVBoxLayout(fraSendToAll);
    for (int i = 0; i < 5; ++i) {
        auto* o = new QRadioButton(QString::fromLatin1(kCaptions[i]), fraSendToAll);
        o->setObjectName(QStringLiteral("Option1_%1").arg(i));
        connect(o, &QRadioButton::clicked, this, [this, i] { Option1_Click(i); });
        options->addWidget(o);
        Option1[static_cast<std::size_t>(i)] = o;
    }
    layout->addWidget(fraSendToAll);

    auto* valueRow = new QHBoxLayout;
    lblValue = new QLabel(QStringLiteral("Value:"), this);
    lblValue->setObjectName(QStringLiteral("lblValue"));
    ValueValue = new QLineEdit(this);
    ValueValue->setObjectName(QStringLiteral("ValueValue"));
    ValueValue->setMaxLength(3);
    ValueValue->setToolTip(QStringLiteral("Enter the value to complete the equation."));
    ValueValue->installEventFilter(this);
    valueRow->addWidget(lblValue);
    valueRow->addWidget(ValueValue);
    layout->addLayout(valueRow);

    auto* buttons = new QHBoxLayout;
    cmdOk = new QPushButton(QStringLiteral("OK"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setDefault(true);
    cmdOk->setAutoDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    // Focused, Cancel takes Return itself; otherwise Return goes to OK.
    cmdCancel->setAutoDefault(true);
    connect(cmdOk, &QPushButton::clicked, this, &frmSendToAll::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSendToAll::cmdCancel_Click);
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    layout->addLayout(buttons);

    Option1[0]->setChecked(true);
}

std::optional<std::string> frmSendToAll::PickCriterion() {
    criterion_.reset();
    exec();
    return criterion_;
}

bool frmSendToAll::IsLevelSelected() const {
    return Option1[0]->isChecked() || Option1[1]->isChecked() || Option1[2]->isChecked();
}

void frmSendToAll::Option1_Click(int index) {
    const std::string value = ToBoard(ValueValue->text());
    if (index >= 3) {
        if (kesto::IsNumeric(value)) ValueValue->clear();
        ValueValue->setMaxLength(1);
    } else {
        if (!kesto::IsNumeric(value)) ValueValue->clear();
        ValueValue->setMaxLength(3);
    }
}

bool frmSendToAll::eventFilter(QObject* watched, QEvent* event) {
    if (watched != ValueValue || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    const QString text = key->text();
    // Only typed characters are filtered; cursor keys, Delete and shortcuts pass as they are.
    if (text.size() != 1 || (text[0].unicode() >= 127 && text[0].unicode() < 160) ||
        (text[0].unicode() < 32 && text[0].unicode() != 8)) {
        return QDialog::eventFilter(watched, event);
    }
    const ushort code = text[0].unicode();
    const auto code16 = static_cast<std::int16_t>(code > 32767 ? 0 : code);
    if (IsLevelSelected()) return !IsNumberKey(code16);
    if (!IsLetterKey(code16)) return true;
    if (code >= 'a' && code <= 'z') {
        ValueValue->insert(text.toUpper());
        return true;
    }
    return false;
}

void frmSendToAll::cmdOk_Click() {
    const std::string value = kesto::Trim(ToBoard(ValueValue->text()));
    if (value.empty()) {
        GetDialogs().ShowMessage(this, Dialogs::Icon::Information,
                                 QStringLiteral("Kesto - Send to All Users"),
                                 QStringLiteral("Please enter a value."));
        return;
    }
    int selected = 0;
    for (int i = 0; i < 5; ++i)
        if (Option1[static_cast<std::size_t>(i)]->isChecked()) selected = i;
    criterion_ = std::string("all users ") + kOperators[selected] + kesto::UpperAscii(value);
    accept();
}

void frmSendToAll::cmdCancel_Click() {
    criterion_.reset();
    reject();
}

} // namespace kesto::ui
