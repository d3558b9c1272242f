// The run-time state the windows share: the board, the current user and the
// variables through which one window hands work to the next. One Session is
// made at start-up and passed to every window.
#pragma once

#include "Board.h"
#include "MailBase.h"
#include "Records.h"
#include "Startup.h"

#include <cstdint>
#include <string>

namespace kesto::ui {

struct Session {
    kesto::Board board;

    std::int32_t CurrentUserNumber = 1;
    kesto::UserRecord CurrentUser;

    kesto::Mailbox CurrentMailbox = kesto::Mailbox::Received;
    std::int16_t CurrentListIndex = 0;     // 1-based list row being acted on; 0 none
    std::int16_t CurrentMessageNumber = 0; // record number in the shown mailbox; 0 none
    bool ReplyMode = false;
    bool MessageSent = false;
    float LastMailboxSize = 0;
    std::string DialogMode;                // raw board bytes exchanged with a modal dialog
    std::int16_t AddressBookEditIndex = 0;

    kesto::ViewSettings viewSettings;      // as loaded from KESTO.DAT
    kesto::LiveViewState live;             // recorded by the timer, saved on close
};

} // namespace kesto::ui
