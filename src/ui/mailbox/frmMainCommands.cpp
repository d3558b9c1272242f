// The commands of the main window. Menus, toolbar buttons and the context menu
// all land here; each command is one small function.
#include "mailbox/frmMain.h"

#include "TextHelpers.h"
#include "DeleteMessage.h"
#include "UserFile.h"
#include "addressbook/AddSenderCommand.h"
#include "addressbook/frmAddressBook.h"
#include "composer/ComposerCommands.h"
#include "composer/frmNewMessage.h"
#include "composer/frmUserListing.h"
#include "reader/OutputCommands.h"
#include "reader/frmAbout.h"
#include "reader/frmOpenMessage.h"

namespace kesto::ui {

void frmMain::mnuActionsOpen_Click() {
    if (rowCount() == 0) return;
    const int p = selectedPosition();
    if (p == 0) return;
    s_.CurrentListIndex = static_cast<std::int16_t>(p);
    s_.CurrentMessageNumber = messageNumberAt(p);
    s_.ReplyMode = false;
    {
        frmOpenMessage reader(s_, *this, this);
        reader.exec();
    }
    if (s_.ReplyMode) ReplyAfterReading(this, s_);
    // In place: the rows keep their order and bold texts until the next rebuild.
    RefreshAllItems();
    s_.CurrentListIndex = 0;
    s_.CurrentMessageNumber = 0;
    s_.ReplyMode = false;
}

void frmMain::mnuActionsPrint_Click() {
    if (rowCount() == 0) return;
    const int p = selectedPosition();
    if (p == 0) return;
    DisableControls();
    PrintMessage(this, s_, messageNumberAt(p));
    ClearSelection();
    selectRow(p);
    EnableControls();
}

void frmMain::mnuFileSaveAs_Click() {
    if (rowCount() == 0) return;
    const int p = selectedPosition();
    if (p == 0) return;
    DisableControls();
    SaveMessage(this, s_, messageNumberAt(p));
    EnableControls();
}

void frmMain::mnuActionsDelete_Click() {
    if (rowCount() == 0) return;
    // The mark is a toggle, so the same command undeletes; no confirmation. A mark that
    // cannot be written is logged, and the row shows what the index holds.
    for (int p : selectedPositions()) {
        (void)kesto::DeleteMessage(s_.board, s_.CurrentMailbox, messageNumberAt(p));
        RefreshItem(p);
    }
}

void frmMain::mnuActionsDeleteAll_Click() {
    if (rowCount() == 0) return;
    const int rows = rowCount();
    for (int p = 1; p <= rows; ++p)
        (void)kesto::DeleteMessage(s_.board, s_.CurrentMailbox, messageNumberAt(p));
    RefreshAllItems();
}

void frmMain::mnuActionsRefresh_Click() {
    RefreshList();
}

void frmMain::mnuHelpAbout_Click() {
    frmAbout about(this);
    about.exec();
}

void frmMain::mnuActionsNew_Click() {
    s_.ReplyMode = false;
    {
        frmNewMessage composer(s_, this);
        composer.exec();
    }
    if (s_.MessageSent) {
        RefreshList();
        s_.MessageSent = false;
    }
}

void frmMain::mnuActionsReply_Click() {
    if (rowCount() == 0) return;
    const int p = selectedPosition();
    if (p == 0) return;
    s_.CurrentListIndex = static_cast<std::int16_t>(p);
    s_.CurrentMessageNumber = messageNumberAt(p);
    s_.ReplyMode = true;
    {
        frmNewMessage composer(s_, this);
        composer.exec();
    }
    if (s_.MessageSent) {
        RefreshList();
        s_.MessageSent = false;
    }
    s_.CurrentListIndex = 0;
    s_.CurrentMessageNumber = 0;
    s_.ReplyMode = false;
    ClearSelection();
    selectRow(p);
}

void frmMain::mnuActionsAddressBook_Click() {
    s_.DialogMode = "view";
    {
        frmAddressBook book(s_, this);
        book.exec();
    }
    s_.DialogMode.clear();
}

void frmMain::mnuActionsAddSender_Click() {
    if (rowCount() == 0) return;
    const int p = selectedPosition();
    if (p == 0) return;
    AddSenderToAddressBook(this, s_, messageNumberAt(p));
    ClearSelection();
    selectRow(p);
}

void frmMain::mnuFileChangeUser_Click() {
    s_.DialogMode.clear();
    {
        frmUserListing picker(s_, this);
        picker.exec();
    }
    if (s_.DialogMode.empty()) return;
    s_.CurrentUserNumber = static_cast<std::int32_t>(kesto::NumericValue(s_.DialogMode));
    s_.CurrentUser = kesto::GetUser(s_.board, s_.CurrentUserNumber).value_or(kesto::DecodeUserRecord({}));
    updateCaption();
    RefreshList();
    s_.DialogMode.clear();
}

} // namespace kesto::ui
