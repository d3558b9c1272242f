// The run-time state the windows share: the board, the current user, the
// mailbox shown and the view settings. One Session is made at start-up and
// passed to every window; what one window hands to the next goes by arguments
// and return values, not through here.
#pragma once

#include "Board.h"
#include "MailBase.h"
#include "Records.h"
#include "Startup.h"

#include <cstdint>

namespace kesto::ui {

struct Session {
    kesto::Board board;

    std::int32_t CurrentUserNumber = 1;
    kesto::UserRecord CurrentUser;

    kesto::Mailbox CurrentMailbox = kesto::Mailbox::Received;

    kesto::ViewSettings viewSettings; // as loaded from KESTO.DAT
    kesto::LiveViewState live;        // recorded by the timer, saved on close
};

} // namespace kesto::ui
