#include "addressbook/EntryFieldFilter.h"

namespace kesto::ui {

bool EntryFieldFilter::allowed(QChar c) const {
    if (kind_ == Kind::NetworkId)
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('.');
    return c != QLatin1Char(',') && c != QLatin1Char(';') && c != QLatin1Char('\r') && c != QLatin1Char('\n');
}

QValidator::State EntryFieldFilter::validate(QString& input, int& pos) const {
    QString kept;
    kept.reserve(input.size());
    int newPos = pos;
    for (int i = 0; i < input.size(); ++i) {
        if (allowed(input.at(i)))
            kept.append(input.at(i));
        else if (i < pos)
            --newPos;
    }
    input = kept;
    pos = newPos;
    return Acceptable;
}

} // namespace kesto::ui
