#include "composer/ComposerCommands.h"

#include "composer/frmNewMessage.h"

namespace kesto::ui {

void ReplyAfterReading(QWidget* parent, Session& s) {
    {
        frmNewMessage composer(s, parent);
        composer.exec();
    }
    if (s.MessageSent) s.MessageSent = false;
}

} // namespace kesto::ui
