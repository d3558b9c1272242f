#include "composer/ComposerCommands.h"

#include "composer/frmNewMessage.h"

namespace kesto::ui {

void ReplyAfterReading(QWidget* parent, Session& s, kesto::RecordNo messageNumber) {
    frmNewMessage composer(s, parent, messageNumber);
    composer.WriteMessage();
}

} // namespace kesto::ui
