#include "composer/ComposerCommands.h"

#include "composer/frmNewMessage.h"

namespace kesto::ui {

void ReplyAfterReading(QWidget* parent, Session& s, std::int16_t messageNumber) {
    frmNewMessage composer(s, parent, messageNumber);
    composer.WriteMessage();
}

} // namespace kesto::ui
