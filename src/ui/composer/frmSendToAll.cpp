#include "composer/frmSendToAll.h"

#include "TextHelpers.h"
#include "app/Dialogs.h"
#include "app/BoardText.h"
#include "app/KeyFilters.h"
#include "app/ScreenFit.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QValidator>
#include <QVBoxLayout>

#include <functional>
#include <utility>

namespace kesto::ui {
namespace {

const char* const kCaptions[5] = {"Security Level greater than...", "Security Level less than...",
                                  "Security Level equal to...", "User Flag of...", "Access Flag of..."};
const char* const kOperators[5] = {"> ", "< ", "= ", "! ", "$ "};

// Lets into the value box only what the typed-key filter lets through, however it
// arrives: typed, pasted or dropped. Letters for a flag are made capitals.
class ValueFilter : public QValidator {
  public:
    ValueFilter(std::function<bool()> levelSelected, QObject* parent)
        : QValidator(parent), levelSelected_(std::move(levelSelected)) {}

    State validate(QString& input, int&) const override {
        const bool level = levelSelected_();
        for (QChar& c : input) {
            const ushort code = c.unicode();
            // Backspace is a key, never a character of the text.
            if (code == 8 || code > 32767) return Invalid;
            const auto key = static_cast<std::int16_t>(code);
            if (level ? !IsNumberKey(key) : !IsLetterKey(key)) return Invalid;
            if (!level) c = c.toUpper();
        }
        return Acceptable;
    }

  private:
    std::function<bool()> levelSelected_;
};

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
    ValueValue->setAccessibleName(QStringLiteral("Value"));
    ValueValue->setValidator(new ValueFilter([this] { return IsLevelSelected(); }, ValueValue));
    lblValue->setBuddy(ValueValue);
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
    KeepOnScreen(this);
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
