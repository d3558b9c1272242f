// Key filters for the address book's entry fields. A validator sees typed keys,
// pastes and insert() alike, so a separator can never slip into the file.
#pragma once

#include <QValidator>

namespace kesto::ui {

class EntryFieldFilter : public QValidator {
    Q_OBJECT
  public:
    enum class Kind {
        Text,     // anything but "," and ";" (the file's separators) and line ends
        NetworkId // digits and "." only
    };
    explicit EntryFieldFilter(Kind kind, QObject* parent = nullptr) : QValidator(parent), kind_(kind) {}

    // Drops the refused characters instead of refusing the whole edit, so a paste
    // keeps everything else it carried.
    State validate(QString& input, int& pos) const override;

  private:
    bool allowed(QChar c) const;
    Kind kind_;
};

} // namespace kesto::ui
