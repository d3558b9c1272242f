// The commands of the main window. Menus, toolbar buttons and the context menu
// all land here; each command is one small function.
#include "mailbox/frmMain.h"

#include "DeleteMessage.h"
#include "UserFile.h"
#include "addressbook/AddSenderCommand.h"
#include "addressbook/frmAddressBook.h"
#include "composer/ComposerCommands.h"
#include "composer/frmNewMessage.h"
#include "composer/frmUserListing.h"
#include "mailbox/ExportCommand.h"
#include "reader/OutputCommands.h"
#include "reader/frmAbout.h"
#include "reader/frmOpenMessage.h"

#include <optional>

namespace kesto::ui {

void frmMain::mnuActionsOpen_Click() {
    if (GetRowCount() == 0) return;
    const int p = GetSelectedPosition();
    if (p == 0) return;
    CurrentListIndex = p;
    std::optional<kesto::RecordNo> replyTo;
    {
        frmOpenMessage reader(s_, *this, p, this);
        // The reader steps through this list; a rebuild behind it reselects its row.
        connect(&reader, &frmOpenMessage::StepRequested, this, [this, &reader](int row) {
            CurrentListIndex = row;
            reader.ShowRow(row);
        });
        connect(&reader, &frmOpenMessage::ReplyRequested, this,
                [&replyTo](kesto::RecordNo number) { replyTo = number; });
        connect(this, &frmMain::ListRebuilt, &reader, &frmOpenMessage::OnListRebuilt);
        reader.exec();
    }
    if (replyTo) ReplyAfterReading(this, s_, *replyTo);
    // In place: the rows keep their order and bold texts until the next rebuild.
    RefreshAllItems();
    CurrentListIndex = 0;
}

void frmMain::mnuActionsPrint_Click() {
    if (GetRowCount() == 0) return;
    const int p = GetSelectedPosition();
    if (p == 0) return;
    DisableControls();
    PrintMessage(this, s_, GetMessageNumberAt(p));
    ClearSelection();
    SelectRow(p);
    EnableControls();
}

void frmMain::mnuFileSaveAs_Click() {
    if (GetRowCount() == 0) return;
    const int p = GetSelectedPosition();
    if (p == 0) return;
    DisableControls();
    SaveMessage(this, s_, GetMessageNumberAt(p));
    EnableControls();
}

void frmMain::mnuFileExport_Click() {
    if (GetRowCount() == 0) return;
    // The rows as shown; the export puts them oldest first.
    std::vector<kesto::RecordNo> numbers;
    numbers.reserve(static_cast<std::size_t>(GetRowCount()));
    for (int p = 1; p <= GetRowCount(); ++p) numbers.push_back(GetMessageNumberAt(p));
    DisableControls();
    ExportMailbox(this, s_, std::move(numbers));
    EnableControls();
}

void frmMain::mnuActionsDelete_Click() {
    if (GetRowCount() == 0) return;
    // The mark is a toggle, so the same command undeletes; no confirmation. A mark that
    // cannot be written is logged, and the row shows what the index holds.
    for (int p : GetSelectedPositions()) {
        (void)kesto::DeleteMessage(s_.board, s_.CurrentMailbox, GetMessageNumberAt(p));
        RefreshItem(p);
    }
}

void frmMain::mnuActionsDeleteAll_Click() {
    if (GetRowCount() == 0) return;
    const int rows = GetRowCount();
    for (int p = 1; p <= rows; ++p)
        (void)kesto::DeleteMessage(s_.board, s_.CurrentMailbox, GetMessageNumberAt(p));
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
    bool sent = false;
    {
        frmNewMessage composer(s_, this);
        sent = composer.WriteMessage();
    }
    if (sent) RefreshList();
}

void frmMain::mnuActionsReply_Click() {
    if (GetRowCount() == 0) return;
    const int p = GetSelectedPosition();
    if (p == 0) return;
    CurrentListIndex = p;
    bool sent = false;
    {
        frmNewMessage composer(s_, this, GetMessageNumberAt(p));
        sent = composer.WriteMessage();
    }
    // The rebuild selects the answered row again.
    if (sent) RefreshList();
    CurrentListIndex = 0;
    ClearSelection();
    SelectRow(p);
}

void frmMain::mnuActionsAddressBook_Click() {
    frmAddressBook book(s_, frmAddressBook::Mode::View, this);
    book.exec();
}

void frmMain::mnuActionsAddSender_Click() {
    if (GetRowCount() == 0) return;
    const int p = GetSelectedPosition();
    if (p == 0) return;
    AddSenderToAddressBook(this, s_, GetMessageNumberAt(p));
    ClearSelection();
    SelectRow(p);
}

void frmMain::mnuFileChangeUser_Click() {
    std::optional<std::int32_t> user;
    {
        frmUserListing picker(s_, this);
        user = picker.PickUser();
    }
    if (!user) return;
    s_.CurrentUserNumber = *user;
    s_.CurrentUser = kesto::GetUser(s_.board, s_.CurrentUserNumber).value_or(kesto::DecodeUserRecord({}));
    UpdateCaption();
    RefreshList();
}

} // namespace kesto::ui
