#include "app/KeyFilters.h"

namespace kesto::ui {

bool IsLetterKey(std::int16_t keyCode) {
    return keyCode == 8 || (keyCode >= 'A' && keyCode <= 'Z') || (keyCode >= 'a' && keyCode <= 'z');
}

bool IsNumberKey(std::int16_t keyCode) {
    return keyCode == 8 || keyCode == '.' || (keyCode >= '0' && keyCode <= '9');
}

} // namespace kesto::ui
