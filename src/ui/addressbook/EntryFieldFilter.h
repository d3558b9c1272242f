// Key filters for the address book's entry fields. A validator sees typed keys,
// pastes and insert() alike, so a separator is never added to a field; text the
// window puts in as stored (SetStoredText) is shown as it is.
#pragma once

#include <QString>
#include <QValidator>

class QLineEdit;

namespace kesto::ui {

class EntryFieldFilter : public QValidator {
    Q_OBJECT
  public:
    enum class Kind {
        Text,     // anything but "," and ";" (the file's separators) and line ends
        NetworkId // digits and "." only
    };
    explicit EntryFieldFilter(Kind kind, QObject* parent = nullptr) : QValidator(parent), kind_(kind) {}

    // Drops the refused characters from what an edit added, instead of refusing the
    // whole edit, so a paste keeps everything else it carried.
    State validate(QString& input, int& pos) const override;

    // Fills `edit` with `text` unfiltered: the filters act on what the user adds.
    static void SetStoredText(QLineEdit* edit, const QString& text);

  private:
    bool IsAllowed(QChar c) const;
    Kind kind_;
    // The field's text after the last edit; what lies outside the changed span is kept.
    mutable QString known_;
};

} // namespace kesto::ui
