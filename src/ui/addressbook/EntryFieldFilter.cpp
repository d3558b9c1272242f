#include "addressbook/EntryFieldFilter.h"

#include <QLineEdit>

#include <algorithm>

namespace kesto::ui {

bool EntryFieldFilter::IsAllowed(QChar c) const {
    if (kind_ == Kind::NetworkId)
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('.');
    return c != QLatin1Char(',') && c != QLatin1Char(';') && c != QLatin1Char('\r') && c != QLatin1Char('\n');
}

QValidator::State EntryFieldFilter::validate(QString& input, int& pos) const {
    // The span an edit changed: what is left after the text shared with the
    // previous one at both ends. Only that span is filtered.
    const qsizetype shortest = std::min(input.size(), known_.size());
    qsizetype head = 0;
    while (head < shortest && input.at(head) == known_.at(head)) ++head;
    qsizetype tail = 0;
    while (tail < shortest - head && input.at(input.size() - 1 - tail) == known_.at(known_.size() - 1 - tail))
        ++tail;

    QString kept;
    kept.reserve(input.size());
    int newPos = pos;
    for (qsizetype i = 0; i < input.size(); ++i) {
        const bool added = i >= head && i < input.size() - tail;
        if (!added || IsAllowed(input.at(i)))
            kept.append(input.at(i));
        else if (i < pos)
            --newPos;
    }
    input = kept;
    pos = newPos;
    known_ = kept;
    return Acceptable;
}

void EntryFieldFilter::SetStoredText(QLineEdit* edit, const QString& text) {
    if (const auto* filter = qobject_cast<const EntryFieldFilter*>(edit->validator())) filter->known_ = text;
    edit->setText(text);
}

} // namespace kesto::ui
